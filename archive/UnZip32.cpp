#include "UnZip32.h"

#include "ZipHandle.h"
#include "base/FileTest.h"
#include "base/ReadFailure.h"
#include "base/UserMessage.h"
#include "text/GbkText.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <unistd.h>

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

struct StoredName {
    std::string Bytes;
    bool Utf8Flag = false;
};

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A GBK pair that a Chinese novel's file name is made of: a GB2312 hanzi (rows 16 to 87), or
// Chinese punctuation and full-width forms (rows 1 and 3). UTF-8 names read as GBK give mostly
// pairs of GBK's extension areas; GBK names read as UTF-8 give Latin, Greek or Cyrillic letters.
bool IsNovelNamePair(unsigned char lead, unsigned char trail) {
    const bool row = lead == 0xA1 || lead == 0xA3 || (lead >= 0xB0 && lead <= 0xF7);
    return row && trail >= 0xA1 && trail <= 0xFE;
}

// The same for a character read as UTF-8: any CJK ideograph (a traditional title is as likely
// as a simplified one), CJK punctuation or a full-width form.
bool IsNovelNameCharacter(char32_t c) {
    return (c >= 0x3000 && c <= 0x303F) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

// Of the non-ASCII characters of a reading: how many, and how many a novel's name is made of.
struct NameTally {
    std::size_t Novel = 0;
    std::size_t All = 0;
    // Whether this reading's share of novel characters is larger than `other`'s.
    bool Beats(const NameTally& other) const { return Novel * other.All > other.Novel * All; }
};

void TallyGbk(std::string_view bytes, NameTally& tally) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const gbk::Char c = gbk::CharAt(bytes, pos);
        pos += c.Length;
        if (c.Length == 1 && c.Code < 0x80)
            continue;
        ++tally.All;
        tally.Novel += c.Length == 2 && IsNovelNamePair(c.Code >> 8, c.Code & 0xFF);
    }
}

// `utf8` is well-formed UTF-8.
void TallyUtf8(std::string_view utf8, NameTally& tally) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[pos++]);
        if (lead < 0x80)
            continue;
        const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        char32_t c = lead & (0x3F >> more);
        for (int k = 0; k < more && pos < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[pos++]) & 0x3F);
        ++tally.All;
        tally.Novel += IsNovelNameCharacter(c);
    }
}

// Whether the unflagged names of one archive are GBK; see EntryNamesOf.
bool UnflaggedNamesAreGbk(const std::vector<StoredName>& names) {
    NameTally asGbk, asUtf8;
    for (const StoredName& name : names) {
        if (name.Utf8Flag || IsAscii(name.Bytes))
            continue;
        if (!gbk::IsValidUtf8(name.Bytes))
            return true;
        TallyGbk(name.Bytes, asGbk);
        TallyUtf8(name.Bytes, asUtf8);
    }
    return asGbk.Beats(asUtf8);
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
    const ZipLibrary* library = LoadedZipLibrary();
    return CheckUnzipVersion(library ? library->Version() : nullptr, LIBZIP_VERSION);
}

std::vector<ZipEntryName> EntryNamesOf(const ZipHandle& zip) {
    const zip_int64_t count = std::max<zip_int64_t>(zip.Lib().CountEntries(zip.Get(), 0), 0);
    std::vector<StoredName> stored;
    stored.reserve(static_cast<std::size_t>(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        stored.push_back({zip.RawNameAt(index), zip.NameFlaggedUtf8(index)});
    }
    const bool gbk = UnflaggedNamesAreGbk(stored);
    std::vector<ZipEntryName> names;
    names.reserve(stored.size());
    for (const StoredName& name : stored) {
        const bool asGbk = !name.Utf8Flag && (gbk || !gbk::IsValidUtf8(name.Bytes));
        std::string text = asGbk && !IsAscii(name.Bytes) ? gbk::ToUtf8(name.Bytes) : name.Bytes;
        std::replace(text.begin(), text.end(), '\\', '/');
        names.push_back({std::move(text)});
    }
    return names;
}

std::optional<std::vector<ZipEntryName>> ListZipEntries(const std::string& archive) {
    ZipHandle zip = ZipHandle::Open(archive);
    if (!zip)
        return std::nullopt;
    return EntryNamesOf(zip);
}

std::string ArchiveFailureReason(const std::string& archive) {
    if (!IsExistingFile(archive))
        return CheckExistsReason;
    if (::access(archive.c_str(), R_OK) != 0)
        return ReadFailureReason(errno);
    if (const UnzipCheck check = CheckUnzipDll(); !check.Ok)
        return check.Message;
    return DamagedArchiveReason;
}
