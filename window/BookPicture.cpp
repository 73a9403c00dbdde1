#include "BookPicture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <utility>
// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace {

// A progressive JPEG may hold any number of scans, each a pass over the whole image; real
// encoders write about ten, a hostile file can write millions to keep the decoder busy.
constexpr int MaxJpegScans = 1000;
// libjpeg's own working memory (a progressive image keeps all its coefficients).
constexpr long MaxJpegWorkingBytes = 512L * 1024 * 1024;
// An icon file lists its sizes in a directory that may claim thousands of entries.
constexpr int MaxIconImages = 64;

bool SizeAcceptable(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width <= MaxPictureSide && height <= MaxPictureSide &&
           width * height <= MaxPicturePixels;
}

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to
// the decoding function, which then frees the decoder. Only plain data lives in the frame that
// calls setjmp, so the jump skips no destructor.
struct JpegErrorManager {
    jpeg_error_mgr Base; // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf Jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->Jump, 1);
}

// Warnings are tolerated (many cameras write small oddities), except the end of the file
// arriving early: libjpeg would fill the rest of a truncated picture with grey.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        JpegErrorExit(cinfo);
}

void JpegSilent(j_common_ptr) {}

void JpegProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > MaxJpegScans)
        JpegErrorExit(cinfo);
}

// The smallest reduction libjpeg offers that brings the picture within MaxPicturePixels, or 0.
unsigned ChooseScaleDenominator(qint64 width, qint64 height) {
    if (width * height > MaxJpegSourcePixels)
        return 0;
    for (unsigned denom = 1; denom <= 8; denom *= 2) {
        if (SizeAcceptable((width + denom - 1) / denom, (height + denom - 1) / denom))
            return denom;
    }
    return 0;
}

QRgb CmykToRgb(const JSAMPLE* p, bool inverted) {
    // Adobe's encoders store CMYK inverted, which is what nearly every CMYK JPEG holds.
    const int c = inverted ? p[0] : 255 - p[0];
    const int m = inverted ? p[1] : 255 - p[1];
    const int y = inverted ? p[2] : 255 - p[2];
    const int k = inverted ? p[3] : 255 - p[3];
    return qRgb(c * k / 255, m * k / 255, y * k / 255);
}

void CopyRow(const j_decompress_ptr cinfo, const JSAMPLE* in, QRgb* out) {
    const bool cmyk = cinfo->out_color_space == JCS_CMYK;
    for (JDIMENSION x = 0; x < cinfo->output_width; ++x, in += cinfo->output_components)
        out[x] = cmyk ? CmykToRgb(in, cinfo->saw_Adobe_marker) : qRgb(in[0], in[1], in[2]);
}

// Runs the decoder from header to last line into *image. Returns false on any error; the
// caller owns `cinfo` and destroys it either way.
bool RunJpegDecoder(jpeg_decompress_struct* cinfo, JpegErrorManager* err, const QByteArray& bytes,
                    QImage* image) {
    if (setjmp(err->Jump))
        return false;
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = MaxJpegWorkingBytes;
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(cinfo, TRUE);
    const unsigned denom = ChooseScaleDenominator(cinfo->image_width, cinfo->image_height);
    if (denom == 0)
        return false;
    cinfo->scale_num = 1;
    cinfo->scale_denom = denom;
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(cinfo);
    const auto width = static_cast<int>(cinfo->output_width);
    const auto height = static_cast<int>(cinfo->output_height);
    *image = QImage(width, height, QImage::Format_RGB32);
    if (image->isNull())
        return false;
    // The row buffer comes from libjpeg's pool, so an error jump cannot leak it.
    JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
        cinfo->output_width * static_cast<JDIMENSION>(cinfo->output_components), 1);
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = static_cast<int>(cinfo->output_scanline);
        if (jpeg_read_scanlines(cinfo, row, 1) != 1)
            return false;
        CopyRow(cinfo, row[0], reinterpret_cast<QRgb*>(image->scanLine(y)));
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

std::optional<QByteArray> ReadPictureFile(const QString& fileName) {
    // Only a regular file: a pipe or a device named like a picture must not block the book.
    const QFileInfo info(fileName);
    if (!info.isFile() || info.size() > MaxPictureFileBytes)
        return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(MaxPictureFileBytes + 1);
    if (bytes.isEmpty() || bytes.size() > MaxPictureFileBytes)
        return std::nullopt;
    return bytes;
}

// Every icon size the file holds is read and the largest kept, since it is stretched anyway.
std::optional<QImage> ReadLargestImage(QImageReader& reader) {
    QImage best;
    const int count = qBound(1, reader.imageCount(), MaxIconImages);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QSize size = reader.size();
        if (size.isValid() && !SizeAcceptable(size.width(), size.height()))
            return std::nullopt;
        QImage image = reader.read();
        if (image.isNull() || !SizeAcceptable(image.width(), image.height()))
            return std::nullopt;
        if (best.isNull() ||
            qint64(image.width()) * image.height() > qint64(best.width()) * best.height())
            best = std::move(image);
    }
    return best;
}

} // namespace

std::optional<QImage> DecodeJpeg(const QByteArray& bytes) {
    jpeg_decompress_struct cinfo{};
    JpegErrorManager err{};
    cinfo.err = jpeg_std_error(&err.Base);
    err.Base.error_exit = JpegErrorExit;
    err.Base.emit_message = JpegEmitMessage;
    err.Base.output_message = JpegSilent;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = JpegProgress;
    cinfo.progress = &progress;

    QImage image;
    const bool ok = RunJpegDecoder(&cinfo, &err, bytes, &image);
    jpeg_destroy_decompress(&cinfo);
    if (!ok)
        return std::nullopt;
    return image;
}

std::optional<QImage> DecodeWithQt(const QByteArray& bytes, const char* format) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(static_cast<int>(MaxPicturePixels * 4 / (1024 * 1024)));
    std::optional<QImage> image = ReadLargestImage(reader);
    if (!image)
        return std::nullopt;
    return image->hasAlphaChannel() ? image->convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                    : image->convertToFormat(QImage::Format_RGB32);
}

std::optional<QImage> LoadBookPicture(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const bool jpeg = suffix == u"jpg" || suffix == u"jpeg";
    const bool qtFormat = suffix == u"bmp" || suffix == u"ico" || suffix == u"png";
    if (!jpeg && !qtFormat)
        return std::nullopt;
    const std::optional<QByteArray> bytes = ReadPictureFile(fileName);
    if (!bytes)
        return std::nullopt;
    if (jpeg)
        return DecodeJpeg(*bytes);
    return DecodeWithQt(*bytes, suffix.toLatin1().constData());
}

QString BookPictureWarning(const QString& fileName) {
    return QStringLiteral("打开背景图片文件 ") + fileName + QStringLiteral(" 失败！") +
           QStringLiteral("\r\n") + QStringLiteral("系统将使用默认背景图片。");
}
