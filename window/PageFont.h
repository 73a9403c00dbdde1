#pragma once
// Fonts of the book and the one rule for the height of a text line.
#include "reader/TextMeasurer.h"
#include "records/Settings.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QRawFont>
#include <optional>

class QWidget;

// A stored colour value 0x00BBGGRR as a QColor.
QColor FromColorValue(int value);

// The stored face "宋体" (and any face this system lacks) is drawn with an installed Song or Ming
// CJK face; the stored name itself is kept.
QFont ToQFont(const FontSpec& spec);

// The font the user chose in a font dialog, as the settings keep it. The dialog offers no colour
// or character set, so those stay as they were; and when it returns the face that stands in for
// the stored one (宋体 is shown with an installed Song face), the stored name is kept, so an
// unchanged face survives the dialog.
FontSpec FontFromDialog(const FontSpec& old, const QFont& chosen);

// Runs the font dialog on `old`; nothing when the user cancels.
std::optional<FontSpec> ChooseFontSpec(const FontSpec& old, QWidget* parent);

// Height of one text line in pixels: the point size times the screen's pixels per inch / 72,
// rounded (12 for 9 points at 96). Page labels draw their lines at exactly this pitch, the
// four-line test label is four pitches high, and the reading underline steps by it, so lines
// per page, the drawn lines and the underline always agree.
int LinePitch(const FontSpec& spec, double dotsPerInch);

// The dots per inch that fonts are sized for on this screen.
double ScreenDotsPerInch();

// Widths of byte-text characters in a font, decoding each code as GB18030. They are the advances
// QFontMetricsF gives, which are the advances text is drawn with. A batch fetches the advances of
// the glyphs the font itself has in one call to the font engine; the few characters it lacks
// (drawn from a fallback font) and non-spacing marks are measured one by one.
class QtTextMeasurer : public TextMeasurer {
public:
    explicit QtTextMeasurer(const QFont& font) : Font(font), Metrics(font) {}
    double CharWidth(std::uint32_t code) override;
    void CharWidths(const std::vector<std::uint16_t>& codes, std::vector<float>& widths) override;

private:
    QFont Font;
    QFontMetricsF Metrics;
    QRawFont Raw; // made at the first batch
};
