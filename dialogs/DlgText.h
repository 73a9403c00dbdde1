#pragma once
// The file dialogs with a text preview beside the file list: the beginning of the selected file,
// or the entry names of a selected ZIP archive, with "&BIG5码" below it to show the preview
// converted from BIG5 to GB. Qt's own dialog is used, not the desktop's, so that the preview can
// sit inside it.
#include <QFileDialog>
#include <string>

class QCheckBox;
class QItemSelectionModel;
class QFrame;
class QPlainTextEdit;
class QWidget;

class TOpenTextDialog : public QFileDialog {
    Q_OBJECT

public:
    explicit TOpenTextDialog(QWidget* parent = nullptr);

    // Empties the preview and runs the dialog; true when the user confirmed.
    bool Execute();
    // What Execute does before the dialog shows, for callers that run it themselves.
    void PrepareExecute();

    // The selection changed to `path` (empty: nothing selected).
    void DoSelectionChange(const QString& path);
    void CheckBoxBig5Click();

    // The preview's bytes before any conversion.
    const std::string& PreviewText() const { return Preview; }

    QFrame* TextPanel;
    QWidget* PosPanel;
    QWidget* CheckPanel;
    QCheckBox* CheckBoxBig5;
    QPlainTextEdit* MemoText;

protected:
    // Closing also hides a tool tip or a completion list the dialog may have left showing.
    void done(int result) override;

private:
    void BuildPreviewPanel();
    void SelectionChanged(const QItemSelectionModel& selection);
    std::string Preview;
};

// The same dialog in its save form.
class TSaveTextDialog : public TOpenTextDialog {
    Q_OBJECT

public:
    explicit TSaveTextDialog(QWidget* parent = nullptr);
};

// The nine filters of the open dialog, as Qt name filters whose shown captions are the
// design's own ("文本文件(*.txt)"); patterns match without regard to letter case.
QStringList OpenDialogFilters();
