// mojuan-package-files OUTDIR ICON: writes what the package installs under /usr/share besides
// the fixed files of this folder: the desktop entry and the MIME package, from the same code
// that registers a program run from its build tree, and the program's icon at each size of
// the hicolor theme up to its own.
#include "records/ShellIntegration.h"

#include <QImage>

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

constexpr int IconSizes[] = {16, 22, 24, 32, 48, 64};

bool WriteText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    return static_cast<bool>(out << text);
}

bool WriteIcons(const std::filesystem::path& out, const QImage& icon) {
    for (int size : IconSizes) {
        if (size > icon.width())
            break;
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path dir = out / "icons/hicolor" / name / "apps";
        std::filesystem::create_directories(dir);
        const QImage scaled =
            icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!scaled.save(QString::fromStdString((dir / "mojuan.png").string()), "PNG"))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: mojuan-package-files OUTDIR ICON\n";
        return 2;
    }
    const std::filesystem::path out(argv[1]);
    const QImage icon(QString::fromLocal8Bit(argv[2]));
    if (icon.isNull() || icon.width() != icon.height()) {
        std::cerr << "mojuan-package-files: " << argv[2] << " is not a square image\n";
        return 1;
    }
    const bool ok = WriteText(out / DesktopEntryFile, DesktopEntryText("mojuan", "mojuan")) &&
                    WriteText(out / MimePackageFile, MimePackageText()) && WriteIcons(out, icon);
    return ok ? 0 : 1;
}
