#pragma once
// What the entry chooser and the open dialog's preview show of an archive, and the references
// the chosen rows become. The dialogs only display these.
#include "UnZip32.h"
#include "base/UserMessage.h"
#include "records/RecentList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A row of the entry chooser: the file name and its folder inside the archive ("\" separators,
// ending in "\"; empty at the archive's root).
struct ZipRow {
    std::string FileName;
    std::string Dir;
    std::int64_t Index = -1; // the entry's place in the archive's listing
    bool operator==(const ZipRow&) const = default;
};

// The extensions the chooser lists when "显示所有文件" is not checked, compared in lower case.
bool IsDocumentName(std::string_view fileName);

// The chooser's rows in archive order: directory entries never; with `showAll` false only the
// documents.
std::vector<ZipRow> ZipRowsFor(const std::vector<ZipEntryName>& entries, bool showAll);

// "archive|dir\file", with every byte below 0x20 removed.
std::string ZipReference(const std::string& archive, const ZipRow& row);

// The references (ZipReference) of the selected rows with their places in the listing, from
// the last row to the first: the order in which putting each on top of the recent list leaves
// them in row order. Empty when nothing is selected.
std::vector<ChosenZipEntry> ChosenEntries(const std::string& archive,
                                          const std::vector<ZipRow>& rows,
                                          const std::vector<bool>& selected);

// What the entry chooser gave: the chosen rows in the order they are to be put on the list
// (none when cancelled), or why the archive could not be listed.
struct ZipChoice {
    std::vector<ChosenZipEntry> Entries;
    std::optional<UserMessage> Failure;
};

// The preview of an archive in the open dialog: the file name of every file entry, whatever its
// extension, in archive order, each followed by CR LF, as GB bytes.
std::string ZipPreviewText(const std::vector<ZipEntryName>& entries);
