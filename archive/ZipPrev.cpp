#include "ZipPrev.h"

#include "text/AsciiCase.h"
#include "text/GbkText.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::string_view, 8> DocumentExtensions = {".txt", ".htm", ".html", ".rtf",
                                                                ".ini", ".zip", ".gb",   ".blf"};

ZipRow RowOf(const std::string& name, std::int64_t index = -1) {
    const std::size_t slash = name.rfind('/');
    if (slash == std::string::npos)
        return {name, {}, index};
    std::string dir = name.substr(0, slash + 1);
    std::replace(dir.begin(), dir.end(), '/', '\\');
    return {name.substr(slash + 1), dir, index};
}

std::string WithoutControlBytes(std::string text) {
    std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return text;
}

} // namespace

bool IsDocumentName(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string ext = LowerAscii(fileName.substr(dot));
    return std::find(DocumentExtensions.begin(), DocumentExtensions.end(), ext) !=
           DocumentExtensions.end();
}

std::vector<ZipRow> ZipRowsFor(const std::vector<ZipEntryName>& entries, bool showAll) {
    std::vector<ZipRow> rows;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ZipEntryName& entry = entries[i];
        if (entry.IsDirectory())
            continue;
        ZipRow row = RowOf(entry.Name, static_cast<std::int64_t>(i));
        if (showAll || IsDocumentName(row.FileName))
            rows.push_back(std::move(row));
    }
    return rows;
}

std::string ZipReference(const std::string& archive, const ZipRow& row) {
    return WithoutControlBytes(archive + "|" + row.Dir + row.FileName);
}

std::vector<ChosenZipEntry> ChosenEntries(const std::string& archive,
                                          const std::vector<ZipRow>& rows,
                                          const std::vector<bool>& selected) {
    std::vector<ChosenZipEntry> chosen;
    for (std::size_t i = rows.size(); i-- > 0;)
        if (i < selected.size() && selected[i])
            chosen.push_back({ZipReference(archive, rows[i]), rows[i].Index});
    return chosen;
}

std::string ZipPreviewText(const std::vector<ZipEntryName>& entries) {
    std::string text;
    for (const ZipEntryName& entry : entries) {
        if (entry.IsDirectory())
            continue;
        text += gbk::FromUtf8(RowOf(entry.Name).FileName) + "\r\n";
    }
    return text;
}
