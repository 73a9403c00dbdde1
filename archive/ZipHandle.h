#pragma once
// An archive opened read-only through libzip, closed when the handle goes.
#include <string>
#include <sys/stat.h>
#include <utility>
#include <zip.h>

class ZipHandle {
public:
    // Only a regular file is opened: a reference from a library file may name a pipe or a
    // device, and reading one would block or never end.
    static ZipHandle Open(const std::string& path) {
        struct stat st;
        if (path.find('\0') != std::string::npos || ::stat(path.c_str(), &st) != 0 ||
            !S_ISREG(st.st_mode))
            return ZipHandle(nullptr);
        int error = 0;
        return ZipHandle(zip_open(path.c_str(), ZIP_RDONLY, &error));
    }
    ZipHandle(ZipHandle&& other) noexcept : Zip(std::exchange(other.Zip, nullptr)) {}
    ZipHandle(const ZipHandle&) = delete;
    ZipHandle& operator=(const ZipHandle&) = delete;
    ZipHandle& operator=(ZipHandle&&) = delete;
    ~ZipHandle() {
        if (Zip)
            zip_discard(Zip);
    }
    explicit operator bool() const { return Zip != nullptr; }
    zip_t* Get() const { return Zip; }

    // The entry's name exactly as stored (or as the Unicode path field gives it).
    std::string RawNameAt(zip_uint64_t index) const {
        const char* name = zip_get_name(Zip, index, ZIP_FL_ENC_RAW);
        return name ? name : "";
    }

    // Whether the entry's name is flagged UTF-8 (bit 11, or a Unicode path field). Asked to
    // follow the format strictly, libzip reads an unflagged name as CP437, so only a flagged
    // name (or a plain ASCII one) comes back as stored.
    bool NameFlaggedUtf8(zip_uint64_t index) const {
        const char* strict = zip_get_name(Zip, index, ZIP_FL_ENC_STRICT);
        return strict && RawNameAt(index) == strict;
    }

private:
    explicit ZipHandle(zip_t* zip) : Zip(zip) {}
    zip_t* Zip;
};
