#include "BookSkin.h"

#include <cstdint>
#include <cstring>

// The skin file, 64-byte aligned, in the binary's read-only data. The build names the file and
// gives its digest, which goes into a local label: a changed picture is then a changed source
// for the compiler cache, which does not read the file itself.
#define MOJUAN_STRING(x) #x
#define MOJUAN_QUOTED(x) MOJUAN_STRING(x)
asm(".section .rodata\n"
    ".balign 64\n"
    "mojuan_skin_bmp:\n"
    ".incbin " MOJUAN_QUOTED(MOJUAN_SKIN_FILE) "\n"
    "mojuan_skin_bmp_end:\n"
    ".Lmojuan_skin_" MOJUAN_STRING(MOJUAN_SKIN_DIGEST) ":\n"
    ".previous\n");
extern "C" const char mojuan_skin_bmp[];
extern "C" const char mojuan_skin_bmp_end[];

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;

template <typename Value>
Value At(std::string_view bytes, std::size_t pos) {
    Value value;
    std::memcpy(&value, bytes.data() + pos, sizeof value);
    return value; // BMP fields are little-endian, as the machines this runs on
}

} // namespace

QImage PictureInPlace(std::string_view bmp) {
    if (bmp.size() < FileHeaderSize + InfoHeaderSize || bmp.substr(0, 2) != "BM" ||
        At<std::uint32_t>(bmp, 14) != InfoHeaderSize)
        return {};
    const auto offset = At<std::uint32_t>(bmp, 10);
    const auto width = At<std::int32_t>(bmp, 18), height = At<std::int32_t>(bmp, 22);
    const auto bits = At<std::uint16_t>(bmp, 28);
    const auto compression = At<std::uint32_t>(bmp, 30);
    // A negative height marks rows stored top-down.
    if (bits != 32 || compression != 0 || width <= 0 || height >= 0 || height < -65535 ||
        width > 65535 || reinterpret_cast<std::uintptr_t>(bmp.data() + offset) % 4 != 0)
        return {};
    const qsizetype stride = qsizetype(width) * 4;
    if (offset > bmp.size() || std::size_t(stride) * std::size_t(-height) > bmp.size() - offset)
        return {};
    return QImage(reinterpret_cast<const uchar*>(bmp.data() + offset), width, -height, stride,
                  QImage::Format_RGB32);
}

QImage BookSkin() {
    const std::string_view bmp(mojuan_skin_bmp, mojuan_skin_bmp_end - mojuan_skin_bmp);
    QImage skin = PictureInPlace(bmp);
    if (skin.isNull())
        skin = QImage::fromData(reinterpret_cast<const uchar*>(bmp.data()), qsizetype(bmp.size()),
                                "BMP");
    return skin;
}
