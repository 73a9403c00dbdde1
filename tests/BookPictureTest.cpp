// test-links: mojuan_window
#include "window/BookPicture.h"
#include "window/BookSkin.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <sys/stat.h>

namespace {

class BookPictureTest : public testing::Test {
protected:
    QTemporaryDir Dir;

    QString PathOf(const QString& name) const { return Dir.filePath(name); }

    QString WriteBytes(const QString& name, const QByteArray& bytes) const {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QString WriteImage(const QString& name, const QImage& image, const char* format) const {
        return WriteBytes(name, Encode(image, format));
    }

    // Red on the left half, blue on the right: colours survive JPEG well enough to check.
    static QImage TwoColourImage(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
        return image;
    }

    static QByteArray Encode(const QImage& image, const char* format, bool progressive = false) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        writer.setQuality(95);
        writer.setProgressiveScanWrite(progressive);
        EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
        return bytes;
    }

    // Offset of the height field of the frame header (SOF0 or SOF2) of a JPEG.
    static qsizetype FrameSizeOffset(const QByteArray& jpeg) {
        for (qsizetype i = 0; i + 9 < jpeg.size(); ++i) {
            const auto b = static_cast<unsigned char>(jpeg[i + 1]);
            if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (b == 0xC0 || b == 0xC2))
                return i + 5;
        }
        return -1;
    }
};

void ExpectNear(QRgb actual, QColor expected) {
    EXPECT_NEAR(qRed(actual), expected.red(), 24);
    EXPECT_NEAR(qGreen(actual), expected.green(), 24);
    EXPECT_NEAR(qBlue(actual), expected.blue(), 24);
}

} // namespace

TEST_F(BookPictureTest, JpegIsDecodedWithItsSizeAndColours) {
    const auto image = LoadBookPicture(WriteImage("book.jpg", TwoColourImage(64, 48), "jpg"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(64, 48));
    EXPECT_EQ(image->format(), QImage::Format_RGB32);
    ExpectNear(image->pixel(8, 24), Qt::red);
    ExpectNear(image->pixel(56, 24), Qt::blue);
}

TEST_F(BookPictureTest, ExtensionIsMatchedWithoutRegardToCase) {
    const QImage source = TwoColourImage(16, 16);
    EXPECT_TRUE(LoadBookPicture(WriteImage("a.JPEG", source, "jpg")));
    EXPECT_TRUE(LoadBookPicture(WriteImage("b.Jpg", source, "jpg")));
    EXPECT_TRUE(LoadBookPicture(WriteImage("c.BMP", source, "bmp")));
}

TEST_F(BookPictureTest, ProgressiveAndGreyJpegsAreDecoded) {
    const auto progressive =
        LoadBookPicture(WriteBytes("p.jpg", Encode(TwoColourImage(40, 30), "jpg", true)));
    ASSERT_TRUE(progressive);
    ExpectNear(progressive->pixel(35, 15), Qt::blue);

    QImage grey(20, 10, QImage::Format_Grayscale8);
    grey.fill(QColor(128, 128, 128));
    const auto decoded = LoadBookPicture(WriteImage("g.jpg", grey, "jpg"));
    ASSERT_TRUE(decoded);
    ExpectNear(decoded->pixel(10, 5), QColor(128, 128, 128));
}

TEST_F(BookPictureTest, TruncatedJpegIsRefused) {
    const QByteArray whole = Encode(TwoColourImage(200, 200), "jpg");
    EXPECT_FALSE(LoadBookPicture(WriteBytes("cut.jpg", whole.left(whole.size() / 2))));
    EXPECT_FALSE(LoadBookPicture(WriteBytes("header.jpg", whole.left(20))));
}

TEST_F(BookPictureTest, NonJpegBytesNamedJpegAreRefused) {
    EXPECT_FALSE(LoadBookPicture(WriteBytes("text.jpg", "this is not a picture at all\r\n")));
    EXPECT_FALSE(LoadBookPicture(WriteBytes("empty.jpeg", QByteArray())));
    EXPECT_FALSE(LoadBookPicture(WriteImage("png.jpg", TwoColourImage(8, 8), "png")));
}

TEST_F(BookPictureTest, JpegClaimingAbsurdDimensionsIsRefused) {
    QByteArray jpeg = Encode(TwoColourImage(16, 16), "jpg");
    const qsizetype at = FrameSizeOffset(jpeg);
    ASSERT_GT(at, 0);
    jpeg[at] = jpeg[at + 1] = jpeg[at + 2] = jpeg[at + 3] = char(0xFF); // 65535 x 65535
    EXPECT_FALSE(DecodeJpeg(jpeg));
}

TEST_F(BookPictureTest, OverlongJpegIsDecodedAtAReducedScale) {
    const auto image = LoadBookPicture(WriteImage("tall.jpg", TwoColourImage(16, 20000), "jpg"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(8, 10000));
}

TEST_F(BookPictureTest, DamagedJpegsNeverCrash) {
    const QByteArray original = Encode(TwoColourImage(48, 32), "jpg");
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    int decoded = 0;
    for (int round = 0; round < 400; ++round) {
        QByteArray damaged = original;
        const int flips = 1 + static_cast<int>(next() % 8);
        for (int i = 0; i < flips; ++i)
            damaged[next() % damaged.size()] = static_cast<char>(next() >> 24);
        if (const auto image = DecodeJpeg(damaged)) {
            EXPECT_FALSE(image->isNull());
            ++decoded;
        }
    }
    EXPECT_GT(decoded, 0); // most damage lands in the picture data and is survivable
}

TEST_F(BookPictureTest, BmpIcoAndPngAreReadThroughQt) {
    const auto bmp = LoadBookPicture(WriteImage("a.bmp", TwoColourImage(30, 20), "bmp"));
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->size(), QSize(30, 20));
    EXPECT_EQ(bmp->pixel(2, 2), qRgb(255, 0, 0));

    const auto ico = LoadBookPicture(WriteImage("a.ico", TwoColourImage(32, 32), "ico"));
    ASSERT_TRUE(ico);
    EXPECT_EQ(ico->size(), QSize(32, 32));
    EXPECT_EQ(ico->pixel(30, 2), qRgb(0, 0, 255));

    const auto png = LoadBookPicture(WriteImage("a.png", TwoColourImage(10, 10), "png"));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->pixel(1, 1), qRgb(255, 0, 0));
}

TEST_F(BookPictureTest, ContentMustMatchTheExtension) {
    EXPECT_FALSE(LoadBookPicture(WriteImage("png.bmp", TwoColourImage(8, 8), "png")));
    EXPECT_FALSE(LoadBookPicture(WriteBytes("junk.bmp", QByteArray("BM") + QByteArray(60, 'x'))));
    EXPECT_FALSE(LoadBookPicture(WriteBytes("junk.ico", QByteArray(40, '\0'))));
}

TEST_F(BookPictureTest, MetafilesAndUnknownExtensionsAreRefused) {
    // Valid pictures under names this platform cannot decode by, so only the name decides.
    const QByteArray bmp = Encode(TwoColourImage(8, 8), "bmp");
    EXPECT_FALSE(LoadBookPicture(WriteBytes("a.emf", bmp)));
    EXPECT_FALSE(LoadBookPicture(WriteBytes("a.WMF", bmp)));
    EXPECT_FALSE(LoadBookPicture(WriteBytes("a.gif", bmp)));
    EXPECT_FALSE(LoadBookPicture(WriteBytes("noextension", bmp)));
    EXPECT_FALSE(LoadBookPicture(WriteBytes("bmp", bmp)));
}

TEST_F(BookPictureTest, MissingFilesDirectoriesAndPipesAreRefused) {
    EXPECT_FALSE(LoadBookPicture(PathOf("missing.jpg")));
    EXPECT_FALSE(LoadBookPicture(QString()));
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.bmp"));
    EXPECT_FALSE(LoadBookPicture(PathOf("folder.bmp")));
    // Opening a pipe for reading would wait for a writer forever.
    ASSERT_EQ(mkfifo(PathOf("pipe.jpg").toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(LoadBookPicture(PathOf("pipe.jpg")));
}

TEST(BookPictureWarningTest, NamesTheFileAndTheFallback) {
    EXPECT_EQ(
        BookPictureWarning("/home/u/封面.jpg"),
        QStringLiteral("打开背景图片文件 /home/u/封面.jpg 失败！\r\n系统将使用默认背景图片。"));
}

// The built-in skin is drawn from the binary's own bytes, not from a decoded copy, and shows
// what its file decodes to.
TEST_F(BookPictureTest, TheSkinIsDrawnWhereItLiesAndShowsItsFile) {
    const QImage skin = BookSkin();
    EXPECT_EQ(skin.constBits(), BookSkin().constBits());
    EXPECT_EQ(skin, QImage(QStringLiteral(MOJUAN_TEST_DATA_DIR "/../../resources/skin.bmp")));
}

// A BMP laid out otherwise (rows bottom-up, 24 bits, cut short) is not taken in place.
TEST_F(BookPictureTest, OnlyATopDown32BitBmpIsTakenInPlace) {
    const QByteArray bottomUp = Encode(TwoColourImage(8, 8), "bmp");
    EXPECT_TRUE(PictureInPlace(std::string_view(bottomUp.constData(), bottomUp.size())).isNull());
    QFile file(QStringLiteral(MOJUAN_TEST_DATA_DIR "/../../resources/skin.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray skin = file.readAll();
    // QByteArray's data is aligned as the skin is in the binary.
    EXPECT_EQ(PictureInPlace(std::string_view(skin.constData(), skin.size())).size(),
              QSize(895, 620));
    EXPECT_TRUE(PictureInPlace(std::string_view(skin.constData(), skin.size() - 1)).isNull());
}
