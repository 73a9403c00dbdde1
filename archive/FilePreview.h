#pragma once
// The text the open dialog previews for a selected file: the beginning of a document, or the
// entry names of a ZIP archive. Both are GB bytes, shown the way the book shows text.
#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t PreviewBytes = 2000;

// The first PreviewBytes bytes of a regular file, a UTF-8 or UTF-16 text transcoded to GB as
// the book reads it, up to its first zero byte; for a name ending
// in ".zip" (any letter case) the file names of its entries, one per CR LF line. Empty for
// anything that is not a readable regular file or a listable archive. Never blocks: pipes and
// devices are not opened for reading.
std::string PreviewText(const std::string& path);

// Preview bytes as the text box shows them: GBK decoded, CR LF, CR or LF ending a line ("\n"),
// a double-byte character cut off at the end dropped rather than shown as a broken mark.
std::u16string PreviewDisplay(std::string_view gbBytes);
