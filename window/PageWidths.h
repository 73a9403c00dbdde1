#pragma once
// The character widths of the page font for the line breaker: those an earlier run kept in the
// cache file (reader/WidthCacheFile.h), and whatever is measured on top of them in this run.
#include "PageFont.h"

#include <cstdint>
#include <string>

// What decides the widths `font` gives: the face drawn (family, style and its font file with
// that file's size and modification time), size, weight, slant, hinting and kerning, the
// folders fallback fonts come from (their modification times), and the toolkit's version.
std::string FontWidthsKey(const QFont& font);

class PageWidths {
public:
    // Reads the widths kept for `font`; `cacheFile` names the file, by default the one in the
    // user's cache folder for the font's key.
    explicit PageWidths(const QFont& font);
    PageWidths(const QFont& font, std::string cacheFile);

    CharWidthCache& Cache() { return Widths; }
    // Whether widths were measured since the file was read or written.
    bool HasNew() const { return Widths.Generation() != KeptGeneration; }
    // Writes the file when there is something new to keep.
    void Keep();

private:
    QtTextMeasurer Measurer;
    CharWidthCache Widths;
    std::string Key;
    std::string File;
    std::uint64_t KeptGeneration = 0;
};
