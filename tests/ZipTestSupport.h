#pragma once
// Real archives for the tests, written at run time by Info-ZIP zip and by Python's zipfile
// (names stored as GBK without the UTF-8 flag, as Chinese archive tools write them).
#include "StoreTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace ziptest {

inline std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Writes each (name, bytes) below `folder`, then zips those names, in this order, into
// `archive` with Info-ZIP zip and the extra `options` (for example "-P secret" or "-y").
inline bool InfoZip(const std::string& folder, const std::string& archive,
                    const std::vector<std::pair<std::string, std::string>>& files,
                    const std::string& options = "") {
    std::string names;
    for (const auto& [name, bytes] : files) {
        const std::filesystem::path path = std::filesystem::path(folder) / name;
        std::filesystem::create_directories(path.parent_path());
        if (!name.ends_with("/"))
            WriteFile(path, bytes);
        names += " " + Quote(name);
    }
    return Run("cd " + Quote(folder) + " && zip -q -X " + options + " " + Quote(archive) + names);
}

// Python's zipfile with names and texts in `encoding` and no UTF-8 flag; "NAME=TEXT" each.
inline bool RawNameZip(const std::string& archive, const std::string& encoding,
                       const std::vector<std::string>& entries) {
    std::string command = "python3 " + Quote(std::string(MOJUAN_TEST_DATA_DIR) + "/make_zip.py") +
                          " " + Quote(archive) + " " + Quote(encoding);
    for (const std::string& entry : entries)
        command += " " + Quote(entry);
    return Run(command);
}

} // namespace ziptest
