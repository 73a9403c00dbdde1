#pragma once
// The two double-byte codes a document's bytes may be in. A BIG5 document that was not
// converted holds BIG5 bytes, so tables of characters are kept for each code.
#include <cstdint>

enum class TextCode : std::uint8_t { Gb, Big5 };
