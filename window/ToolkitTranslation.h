#pragma once
// The toolkit's own texts (the open, save, font and colour dialogs, the buttons of the message
// boxes, the edit boxes' context menu) in Chinese like the rest of the interface, whatever the
// user's locale says.
#include <QTranslator>

#include <memory>

// Installs the toolkit's simplified-Chinese translation into the application; it is in force
// while the returned translator lives. Nothing when the translation is not installed: the
// toolkit's texts then stay English.
std::unique_ptr<QTranslator> InstallToolkitChinese();
