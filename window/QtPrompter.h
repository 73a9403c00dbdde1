#pragma once
// The message boxes as the user sees them: modal QMessageBox with the captions, icons and
// buttons of the three helpers.
#include "records/Global.h"

class QWidget;

class QtPrompter : public Prompter {
public:
    // The boxes are centred on `parent` (the book window) when it is set and visible.
    explicit QtPrompter(QWidget* parent = nullptr) : Parent(parent) {}
    void SetParent(QWidget* parent) { Parent = parent; }

    void Info(const std::string& text) override;
    void Warning(const std::string& text) override;
    bool Confirm(const std::string& text) override;

private:
    QWidget* Parent;
};
