#include "WebShortcuts.h"

#include <QDesktopServices>

namespace {

UrlOpener& Opener() {
    static UrlOpener opener;
    return opener;
}

} // namespace

UrlOpener SetUrlOpener(UrlOpener opener) {
    return std::exchange(Opener(), std::move(opener));
}

void OpenWebShortcut(std::size_t i) {
    if (i >= WebShortcuts.size())
        return;
    const QUrl url(QString::fromLatin1(WebShortcuts[i].Address));
    if (Opener())
        Opener()(url);
    else
        QDesktopServices::openUrl(url);
}
