#pragma once
// An archive opened read-only through libzip, closed when the handle goes.
#include "ZipLibrary.h"

#include <string>
#include <sys/stat.h>
#include <utility>

class ZipHandle {
public:
    // Only a regular file is opened: a reference from a library file may name a pipe or a
    // device, and reading one would block or never end. Nothing opens without the library.
    static ZipHandle Open(const std::string& path) {
        struct stat st;
        const ZipLibrary* library = LoadedZipLibrary();
        if (!library || path.find('\0') != std::string::npos || ::stat(path.c_str(), &st) != 0 ||
            !S_ISREG(st.st_mode))
            return ZipHandle(nullptr, nullptr);
        int error = 0;
        return ZipHandle(library, library->Open(path.c_str(), ZIP_RDONLY, &error));
    }
    ZipHandle(ZipHandle&& other) noexcept
        : Library(other.Library), Zip(std::exchange(other.Zip, nullptr)) {}
    ZipHandle(const ZipHandle&) = delete;
    ZipHandle& operator=(const ZipHandle&) = delete;
    ZipHandle& operator=(ZipHandle&&) = delete;
    ~ZipHandle() {
        if (Zip)
            Library->Discard(Zip);
    }
    explicit operator bool() const { return Zip != nullptr; }
    zip_t* Get() const { return Zip; }
    // The library's functions, for an open handle.
    const ZipLibrary& Lib() const { return *Library; }

    // The entry's name exactly as stored (or as the Unicode path field gives it).
    std::string RawNameAt(zip_uint64_t index) const {
        const char* name = Library->Name(Zip, index, ZIP_FL_ENC_RAW);
        return name ? name : "";
    }

    // Whether the entry's name is flagged UTF-8 (bit 11, or a Unicode path field). Asked to
    // follow the format strictly, libzip reads an unflagged name as CP437, so only a flagged
    // name (or a plain ASCII one) comes back as stored.
    bool NameFlaggedUtf8(zip_uint64_t index) const {
        const char* strict = Library->Name(Zip, index, ZIP_FL_ENC_STRICT);
        return strict && RawNameAt(index) == strict;
    }

private:
    ZipHandle(const ZipLibrary* library, zip_t* zip) : Library(library), Zip(zip) {}
    const ZipLibrary* Library;
    zip_t* Zip;
};
