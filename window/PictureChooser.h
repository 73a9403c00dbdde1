#pragma once
// The open dialog for a background picture, with a preview of the picture under the cursor
// decoded as the book would decode it, so a file the book cannot show is seen at once.
#include <optional>
#include <string>

class QWidget;

// Nothing when the user cancels.
std::optional<std::string> ChooseBookPicture(const std::string& current, QWidget* parent);
