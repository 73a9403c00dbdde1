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

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int extra = b < 0x80   ? 0
                          : b < 0xC2 ? -1
                          : b < 0xE0 ? 1
                          : b < 0xF0 ? 2
                          : b < 0xF5 ? 3
                                     : -1;
        if (extra < 0 || s.size() - i <= static_cast<std::size_t>(extra))
            return false;
        std::uint32_t cp = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// GBK bytes as UTF-8. Bytes that are not GBK (and control bytes) become U+FFFD, so the result
// is always valid UTF-8; GBK decodes only to the basic plane.
std::string GbkToUtf8(std::string_view gbkBytes) {
    std::string out;
    for (char16_t c : gbk::Decode(gbkBytes))
        AppendUtf8(out, c);
    return out;
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
    std::string name = IsValidUtf8(raw) ? std::string(raw) : GbkToUtf8(raw);
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
