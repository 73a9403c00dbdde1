#pragma once
// The file tests the recent list and library files share with the opening of documents: the same
// rule (a regular file, symbolic links followed) and the same warnings.
#include "UserMessage.h"
#include "text/AsciiCase.h"

#include <optional>
#include <string>
#include <string_view>

// `path` with its symbolic links, "." and ".." resolved; as given when it cannot be resolved.
std::string RealPath(const std::string& path);

// True when `path` names an existing regular file; directories, devices and pipes are not files.
bool IsExistingFile(const std::string& path);

// "打开文件 <path> 失败！" CR LF "请检查文件是否存在。"
std::string MissingFileText(const std::string& path);

// The refusal of a path that is no regular file: missing, a folder, or a pipe or device (which
// exists, so asking the reader to check that it exists would mislead).
std::string NoFileText(const std::string& path);

// The opening's file test: nothing when `path` exists, else the warning to show. For a file
// extracted from `archive` the warning names the archive: a password is suspected when the
// archive is there.
std::optional<UserMessage> MissingFileWarning(const std::string& path,
                                              const std::string& archive = {});

// Whether the extension of `name`, lower-cased, is `ext` (given with its dot, in lower case).
bool ExtensionIs(std::string_view name, std::string_view ext);
