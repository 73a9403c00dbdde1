#pragma once
// The measured widths of a page font, kept between runs of the program in a small file under
// the user's cache folder, so that a start measures only characters it has never met in that
// font. A file is named by a hash of its key, the description of everything that decides the
// widths (family, size, weight, hinting, the font file and its modification time), and holds
// the key itself: a file of another key, a file from an older layout and a damaged file are
// ignored, and the widths are measured again and written anew.
//
// The file is written without waiting for the disk: at worst a crash leaves a torn file, which
// its checksum shows to be damaged.
#include "TextMeasurer.h"

#include <string>
#include <string_view>

// $XDG_CACHE_HOME/mojuan/widths-<hash of key>.bin ($XDG_CACHE_HOME defaults to ~/.cache);
// empty when neither the variable nor a home folder is set.
std::string WidthCachePath(std::string_view key);

// The file's bytes for the widths `cache` knows.
std::string EncodeWidths(std::string_view key, const CharWidthCache& cache);
// Preloads `cache` with the widths of `bytes`; false, and nothing taken, when the bytes are
// damaged or were written for another key.
bool DecodeWidths(std::string_view bytes, std::string_view key, CharWidthCache& cache);

// Reads the file at `path` into `cache`; false when there is none or it does not serve.
bool LoadWidthCache(const std::string& path, std::string_view key, CharWidthCache& cache);
// Replaces the file at `path` with the widths `cache` knows (creating its folder); false when
// it could not be written.
bool SaveWidthCache(const std::string& path, std::string_view key, const CharWidthCache& cache);
