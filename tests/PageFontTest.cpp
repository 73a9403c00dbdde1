// test-links: mojuan_window
#include "window/PageFont.h"

#include "TestSupport.h"
#include "text/GbkText.h"
#include "window/PageText.h"
#include "window/PageWidths.h"

#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <set>

namespace {

// Every character code of the corpus novels (the BIG5 one is drawn as GBK bytes too, as a
// BIG5 file is before conversion), and every single byte.
std::vector<std::uint16_t> NovelCodes() {
    std::set<std::uint16_t> codes;
    for (int b = 0; b < 256; ++b)
        codes.insert(static_cast<std::uint16_t>(b));
    for (const char* name : {"hongloumeng.gbk.txt", "shuihu.gbk.txt", "shuihu.big5.txt"}) {
        const std::string text = testsupport::ReadFileBytes(testsupport::CorpusPath(name));
        for (std::size_t pos = 0; pos < text.size();) {
            const gbk::Char c = gbk::CharAt(text, pos);
            codes.insert(c.Code);
            pos += c.Length;
        }
    }
    return {codes.begin(), codes.end()};
}

FontSpec Spec(int size, bool bold, bool italic) {
    FontSpec spec;
    spec.Size = size;
    spec.Bold = bold;
    spec.Italic = italic;
    return spec;
}

} // namespace

// The line breaker adds up these widths, so they must be exactly the advances the text is drawn
// with, for the characters the font has and for those drawn from a fallback font.
TEST(PageFontTest, BatchWidthsAreTheFontMetricsWidths) {
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    const std::vector<std::uint16_t> codes = NovelCodes();
    ASSERT_GT(codes.size(), 5000u);
    for (const FontSpec& spec :
         {Spec(9, false, false), Spec(14, true, false), Spec(11, false, true)}) {
        const QFont font = ToQFont(spec);
        QtTextMeasurer measurer(font);
        std::vector<float> batch;
        measurer.CharWidths(codes, batch);
        ASSERT_EQ(batch.size(), codes.size());
        const QFontMetricsF metrics(font);
        int differences = 0;
        for (std::size_t i = 0; i < codes.size(); ++i) {
            const auto expected = static_cast<float>(
                metrics.horizontalAdvance(QChar(static_cast<char16_t>(gbk::ToUnicode(codes[i])))));
            if (batch[i] != expected && ++differences <= 10)
                ADD_FAILURE() << "size " << spec.Size << " code " << std::hex << codes[i] << ": "
                              << batch[i] << " instead of " << expected;
        }
        EXPECT_EQ(differences, 0) << "size " << spec.Size;
    }
}

// Lines of the novel laid out by Qt as the page draws them end where the widths add up to (the
// pen position after the last character; its ink may reach a pixel further, as it does in any
// text box).
TEST(PageFontTest, DrawnLinesAreAsWideAsTheirWidthsAddUp) {
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string text =
        testsupport::ReadFileBytes(testsupport::CorpusPath("hongloumeng.gbk.txt"));
    const QFont font = ToQFont(FontSpec{});
    QtTextMeasurer measurer(font);
    CharWidthCache widths(measurer);
    int lines = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 2;
        if (line.empty())
            continue;
        double sum = 0;
        for (std::size_t pos = 0; pos < line.size();) {
            const gbk::Char c = gbk::CharAt(line, pos);
            sum += widths.Width(c.Code, line.substr(pos));
            pos += c.Length;
        }
        const QString decoded = DecodeForDisplay(line);
        QTextLayout layout(decoded, font);
        QTextOption option;
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine drawn = layout.createLine();
        layout.endLayout();
        EXPECT_DOUBLE_EQ(drawn.cursorToX(static_cast<int>(decoded.size())), sum)
            << "line " << decoded.toStdString();
        ++lines;
    }
    EXPECT_GT(lines, 100);
}

// A width kept from an earlier run serves only the same face at the same size and weight, and
// a book started again measures nothing it measured before.
TEST(PageFontTest, KeptWidthsServeTheSameFontOnly) {
    const QFont font = ToQFont(FontSpec{});
    EXPECT_EQ(FontWidthsKey(font), FontWidthsKey(ToQFont(FontSpec{})));
    EXPECT_NE(FontWidthsKey(font), FontWidthsKey(ToQFont(Spec(14, false, false))));
    EXPECT_NE(FontWidthsKey(font), FontWidthsKey(ToQFont(Spec(9, true, false))));
    EXPECT_NE(FontWidthsKey(font).find("file=/"), std::string::npos) << FontWidthsKey(font);

    const std::string text = "\xB0\xA1\xB0\xA2 ab"; // 啊阿 ab
    float measured = 0;
    {
        PageWidths first(font);
        measured = first.Cache().Width(0xB0A2, text);
        EXPECT_TRUE(first.HasNew());
        first.Keep();
        EXPECT_FALSE(first.HasNew());
    }
    PageWidths second(font);
    EXPECT_EQ(second.Cache().Width(0xB0A2, text), measured);
    EXPECT_EQ(second.Cache().Width('b', text), QFontMetricsF(font).horizontalAdvance(u'b'));
    EXPECT_FALSE(second.HasNew());
}

// A page number's caption is drawn as it is, and looks as the same text drawn from GB bytes.
TEST(PageFontTest, ACaptionLooksAsTheSameTextDrawnFromBytes) {
    const QFont font = ToQFont(FontSpec{});
    const QRect box(2, 3, 120, 20);
    const QString caption = QStringLiteral("第12页 Ｂ");
    const auto draw = [](const auto& paint) {
        QImage image(130, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        paint(painter);
        painter.end();
        return image;
    };
    const QImage fromBytes = draw([&](QPainter& painter) {
        DrawPageText(painter, box, gbk::FromUtf8(caption.toStdString()), font, Qt::black, 16);
    });
    EXPECT_EQ(draw([&](QPainter& painter) {
                  DrawCaption(painter, box, caption, font, Qt::black, 16);
              }),
              fromBytes);
}
