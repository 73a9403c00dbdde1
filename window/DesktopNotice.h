#pragma once
// A desktop notification through the freedesktop notification service on the session bus, for
// when the book is hidden and a message box alone could go unseen.
#include <QString>

// False when there is no session bus or no notification service on it; the caller's message
// box is then all the user gets. Never waits for the service's answer.
bool SendDesktopNotice(const QString& title, const QString& text);
