#include "UnZip32.h"

#include "ZipHandle.h"
#include "text/GbkText.h"

#include <algorithm>
#include <charconv>
#include <zip.h>

namespace {

std::string CannotFindText() {
    return std::string("Cannot find ") + UnzipLibraryName +
           ".\nThe Dll must be in the application directory, the path,\n"
           "the Windows directory or the Windows System directory.";
}

std::string WrongVersionText() {
    return std::string(UnzipLibraryName) +
           " has the wrong version number.\n"
           "Insure that you have the correct dll's installed, and that \n"
           "an older dll is not in your path or Windows System directory.";
}

// "1.7.3" as {1, 7, 3}; parts that are missing or do not parse count as 0.
std::vector<int> VersionParts(std::string_view version) {
    std::vector<int> parts;
    while (!version.empty()) {
        const std::size_t dot = version.find('.');
        const std::string_view part = version.substr(0, dot);
        int value = 0;
        std::from_chars(part.data(), part.data() + part.size(), value);
        parts.push_back(value);
        version.remove_prefix(dot == std::string_view::npos ? version.size() : dot + 1);
    }
    parts.resize(std::max<std::size_t>(parts.size(), 3));
    return parts;
}

} // namespace

UnzipCheck CheckUnzipVersion(const char* runtime, std::string_view built) {
    if (!runtime || !*runtime)
        return {false, CannotFindText()};
    const std::vector<int> have = VersionParts(runtime), want = VersionParts(built);
    if (have[0] != want[0] || have < want)
        return {false, WrongVersionText()};
    return {true, {}};
}

UnzipCheck CheckUnzipDll() {
    return CheckUnzipVersion(zip_libzip_version(), LIBZIP_VERSION);
}

std::string DecodeEntryName(std::string_view raw) {
    // GBK decoding turns bytes that are not GBK into U+FFFD, so the name is always UTF-8.
    std::string name = gbk::IsValidUtf8(raw) ? std::string(raw) : gbk::ToUtf8(raw);
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::optional<std::vector<ZipEntryName>> ListZipEntries(const std::string& archive) {
    ZipHandle zip = ZipHandle::Open(archive);
    if (!zip)
        return std::nullopt;
    std::vector<ZipEntryName> names;
    const zip_int64_t count = zip_get_num_entries(zip.Get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        names.push_back({DecodeEntryName(zip.RawNameAt(static_cast<zip_uint64_t>(i)))});
    }
    return names;
}
