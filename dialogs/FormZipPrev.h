#pragma once
// The entry chooser of a ZIP archive: its files in two columns, name and folder; the chosen
// rows become the archive's entries on the recent list.
#include "archive/ZipPrev.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QPushButton;
class QTreeWidget;

class TFormZipPrev : public QDialog {
    Q_OBJECT

public:
    TFormZipPrev(std::string archive, QWidget* parent = nullptr);

    // Lists the archive again, all files or only the documents as CheckBoxList says.
    void FormShow();
    // Collects the selected rows and closes: OK with a choice, Cancel without one.
    void BtnOkClick();

    // The references of the chosen rows with their places in the listing, from the last row to
    // the first.
    const std::vector<ChosenZipEntry>& Chosen() const { return ChosenRows; }
    int RowCount() const { return static_cast<int>(Rows.size()); }

    QTreeWidget* FileList;
    QCheckBox* CheckBoxList;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::string Archive;
    std::vector<ZipRow> Rows;
    std::vector<ChosenZipEntry> ChosenRows;
};

// Runs the chooser for `archive` through `run` (which shows it modally and gives its result):
// the chosen rows in the order they are to be put on the recent list, none when cancelled or
// nothing was chosen; an archive that cannot be listed is not shown, and the message says why.
ZipChoice ChooseZipEntries(const std::string& archive, QWidget* parent,
                           const std::function<int(QDialog&)>& run);
