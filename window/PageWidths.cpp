#include "PageWidths.h"

#include "reader/WidthCacheFile.h"

#include <QFontInfo>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

namespace {

// "file#index size mtime" of the file fontconfig holds for the face; empty when none is found.
std::string FaceFile(const QFontInfo& info) {
    FcPattern* pattern = FcPatternCreate();
    const QByteArray family = info.family().toUtf8();
    const QByteArray style = info.styleName().toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
    if (!style.isEmpty())
        FcPatternAddString(pattern, FC_STYLE, reinterpret_cast<const FcChar8*>(style.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    std::string described;
    FcChar8* file = nullptr;
    int index = 0;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        struct stat st {};
        ::stat(reinterpret_cast<const char*>(file), &st);
        described = reinterpret_cast<const char*>(file) + ("#" + std::to_string(index)) + " " +
                    std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) + "." +
                    std::to_string(st.st_mtim.tv_nsec);
    }
    if (match)
        FcPatternDestroy(match);
    return described;
}

// The latest modification time among the font folders: a font added, removed or replaced in
// any of them may change which fallback draws a character the face lacks.
std::string FontFoldersStamp() {
    FcStrList* dirs = FcConfigGetFontDirs(nullptr);
    if (!dirs)
        return {};
    long long latest = 0;
    int count = 0;
    while (FcChar8* dir = FcStrListNext(dirs)) {
        struct stat st {};
        if (::stat(reinterpret_cast<const char*>(dir), &st) == 0)
            latest = std::max<long long>(latest, st.st_mtim.tv_sec * 1000000000ll +
                                                     st.st_mtim.tv_nsec);
        ++count;
    }
    FcStrListDone(dirs);
    return std::to_string(count) + " " + std::to_string(latest);
}

} // namespace

std::string FontWidthsKey(const QFont& font) {
    const QFontInfo info(font);
    return "family=" + info.family().toStdString() + "\nstyle=" + info.styleName().toStdString() +
           "\nfile=" + FaceFile(info) + "\npixels=" + std::to_string(info.pixelSize()) +
           "\npoints=" + std::to_string(info.pointSizeF()) +
           "\nweight=" + std::to_string(info.weight()) + "\nitalic=" + (info.italic() ? "1" : "0") +
           "\nhinting=" + std::to_string(font.hintingPreference()) +
           "\nkerning=" + (font.kerning() ? "1" : "0") + "\nfolders=" + FontFoldersStamp() +
           "\ntoolkit=" + qVersion();
}

PageWidths::PageWidths(const QFont& font) : PageWidths(font, {}) {}

PageWidths::PageWidths(const QFont& font, std::string cacheFile)
    : Measurer(font), Widths(Measurer), Key(FontWidthsKey(font)), File(std::move(cacheFile)) {
    if (File.empty())
        File = WidthCachePath(Key);
    LoadWidthCache(File, Key, Widths);
    KeptGeneration = Widths.Generation();
}

void PageWidths::Keep() {
    if (!HasNew())
        return;
    // Kept as done even when the write fails: a cache that cannot be written is not retried.
    KeptGeneration = Widths.Generation();
    SaveWidthCache(File, Key, Widths);
}
