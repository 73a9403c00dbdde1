#pragma once
// The background picture the user may choose for the book instead of the built-in skin. The file
// comes from outside, so every way it can be wrong (missing, not a picture, truncated, absurdly
// large) ends in "no picture", and the book falls back to its skin.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

// A background is stretched to the window, so nothing near these sizes is ever needed; they keep
// a hostile file from making the decoder allocate without bound.
constexpr qint64 MaxPictureFileBytes = 64 * 1024 * 1024;
constexpr int MaxPictureSide = 16384;
constexpr qint64 MaxPicturePixels = 32 * 1024 * 1024; // 128 MB as 32-bit pixels
// A JPEG larger than MaxPicturePixels is decoded at 1/2, 1/4 or 1/8 of its size; beyond this
// its header is not believed at all.
constexpr qint64 MaxJpegSourcePixels = 128 * 1024 * 1024;

// Loads a picture by the (case-insensitive) extension of its name: .bmp, .ico and .png through
// Qt's readers, .jpg and .jpeg through libjpeg. Any other extension, including .emf and .wmf
// for which this platform has no decoder, fails like an unreadable file. The image is in a
// 32-bit format ready to be painted.
std::optional<QImage> LoadBookPicture(const QString& fileName);

// The decoders behind LoadBookPicture, for bytes already in memory.
std::optional<QImage> DecodeJpeg(const QByteArray& bytes);
// `format` is a Qt image format name ("bmp", "ico", "png"); the content must match it.
std::optional<QImage> DecodeWithQt(const QByteArray& bytes, const char* format);

// The warning shown when LoadBookPicture fails, before the built-in skin is used instead.
QString BookPictureWarning(const QString& fileName);
