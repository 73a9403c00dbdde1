#pragma once
// One of the two editing boxes that cover the pages in edit mode: a plain text box with word
// wrapping, a single border and no scroll bars. Ctrl+Enter asks to save and Esc to leave;
// its right-click menu offers both beside the usual editing commands.
#include <QPlainTextEdit>

class EditBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit EditBox(QWidget* parent);

    static const QString SaveCaption;
    static const QString ExitCaption;

signals:
    void SaveRequested();
    void ExitRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};
