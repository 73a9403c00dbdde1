// The floor of a start-up: a bare Qt window that draws one page of a novel the way the book
// draws its left page, and nothing else.
//
//   floor_page FILE
//
// It stands where the book opens by default, with the book's default size and page font, reads
// the first few kilobytes of FILE, wraps them at the left page's width with the book's line
// breaker and draws the lines that fit. What a start of the reader costs beyond this program is
// what the reader does beyond process start, Qt, the font and one page (scripts/first-text).
#include "records/Settings.h"
#include "window/BookGeometry.h"
#include "window/PageFont.h"
#include "window/PageText.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <fstream>
#include <string>

namespace {

constexpr std::size_t PageBytes = 8192; // more than a page at the default size

class FloorPage : public QWidget {
public:
    explicit FloorPage(const std::string& bytes)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
        const Settings defaults;
        setGeometry(defaults.BookLeft, defaults.BookTop, defaults.BookWidth, defaults.BookHeight);
        const BookGeometry geometry = BookGeometry::For(defaults.BookWidth, defaults.BookHeight);
        Box = geometry.LabelPage1;
        Font = ToQFont(defaults.PageFont);
        Pitch = LinePitch(defaults.PageFont, ScreenDotsPerInch());
        QtTextMeasurer measurer(Font);
        CharWidthCache widths(measurer);
        const WrappedText lines = WrapLines(bytes, widths, geometry.WrapWidth());
        for (int i = 0; i < lines.LineCount() && (i + 1) * Pitch <= Box.height(); ++i)
            (Page += lines.LineText(bytes, i)) += "\r\n";
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(240, 232, 208));
        DrawPageText(painter, Box, Page, Font, Qt::black, Pitch);
    }

private:
    QRect Box;
    QFont Font;
    int Pitch = 12;
    std::string Page;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    std::string bytes(PageBytes, '\0');
    if (argc > 1) {
        std::ifstream file(argv[1], std::ios::binary);
        file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(file.gcount()));
    }
    FloorPage page(bytes);
    page.show();
    return QApplication::exec();
}
