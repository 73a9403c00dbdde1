#pragma once
// The built-in book skin (resources/skin.bmp, drawn by tools/make_skin.py). The picture is
// part of the program's binary, laid out as QImage draws it, so the book draws it where it lies:
// no decoded copy is made, and only the pages of the binary it reads are ever in memory.
#include <QImage>
#include <string_view>

// The skin; a picture that shares the binary's bytes when they hold what the program draws
// (see PictureInPlace), else a decoded copy.
QImage BookSkin();

// The pixels of `bmp` as a picture over its own bytes: an uncompressed 32-bit BMP with its rows
// top-down, starting at a 4-byte boundary. A null picture for any other file.
QImage PictureInPlace(std::string_view bmp);
