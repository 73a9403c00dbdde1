#include "PageFont.h"

#include "text/GbkText.h"

#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

QColor FromColorValue(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

namespace {

void RegisterSongSubstitutes() {
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList song = {"AR PL UMing CN", "AR PL UMing TW", "Noto Serif CJK SC",
                              "Noto Sans CJK SC", "WenQuanYi Zen Hei"};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
}

} // namespace

QFont ToQFont(const FontSpec& spec) {
    RegisterSongSubstitutes();
    QFont font(QString::fromStdString(spec.Face));
    font.setPointSizeF(std::max(1, spec.Size));
    font.setBold(spec.Bold);
    font.setItalic(spec.Italic);
    font.setStrikeOut(spec.StrikeOut);
    font.setUnderline(spec.Underline);
    // Whole-pixel advances, so that the widths the line breaker adds up are the widths drawn.
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    return font;
}

namespace {

// The installed face the book actually draws a stored face with.
QString ShownFamily(const FontSpec& spec) {
    return QFontInfo(ToQFont(spec)).family();
}

} // namespace

FontSpec FontFromDialog(const FontSpec& old, const QFont& chosen) {
    FontSpec font = old;
    const QString family = chosen.family();
    const QString stored = QString::fromStdString(old.Face);
    const bool sameFace = family.compare(stored, Qt::CaseInsensitive) == 0 ||
                          QFont::substitutes(stored).contains(family, Qt::CaseInsensitive) ||
                          family == ShownFamily(old);
    if (!sameFace && !family.isEmpty())
        font.Face = family.toStdString();
    const int points = chosen.pointSize() > 0 ? chosen.pointSize()
                                              : static_cast<int>(std::lround(chosen.pointSizeF()));
    if (points > 0)
        font.Size = points;
    font.Bold = chosen.bold();
    font.Italic = chosen.italic();
    font.StrikeOut = chosen.strikeOut();
    font.Underline = chosen.underline();
    return font;
}

std::optional<FontSpec> ChooseFontSpec(const FontSpec& old, QWidget* parent) {
    QFont initial = ToQFont(old);
    initial.setFamily(ShownFamily(old)); // so the dialog highlights the face in use
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent, QStringLiteral("字体"),
                                              QFontDialog::DontUseNativeDialog);
    if (!ok)
        return std::nullopt;
    return FontFromDialog(old, chosen);
}

int LinePitch(const FontSpec& spec, double dotsPerInch) {
    return std::max(1, static_cast<int>(std::lround(spec.Size * dotsPerInch / 72.0)));
}

double ScreenDotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

double QtTextMeasurer::CharWidth(std::uint32_t code) {
    const char32_t c = gbk::ToUnicode(code);
    if (c < 0x10000)
        return Metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    return Metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
}

void QtTextMeasurer::CharWidths(const std::vector<std::uint16_t>& codes,
                                std::vector<float>& widths) {
    if (!Raw.isValid())
        Raw = QRawFont::fromFont(Font);
    QString text(static_cast<qsizetype>(codes.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < codes.size(); ++i)
        text[i] = QChar(static_cast<char16_t>(gbk::ToUnicode(codes[i])));
    // One- and two-byte codes decode into the basic plane only, so there is one glyph per
    // character.
    const QList<quint32> glyphs = Raw.glyphIndexesForString(text);
    const QList<QPointF> advances = Raw.advancesForGlyphIndexes(glyphs);
    widths.resize(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const bool own = static_cast<qsizetype>(i) < glyphs.size() && glyphs[i] != 0 &&
                         text[i].category() != QChar::Mark_NonSpacing &&
                         gbk::ToUnicode(codes[i]) < 0x10000;
        widths[i] = static_cast<float>(own ? advances[i].x() : CharWidth(codes[i]));
    }
}
