#pragma once
// "查找全部": the list of every hit, filled while the search goes on. The dialog asks for more
// rows through More from its own event loop, so the book and the list stay responsive; Enter or
// a double click on a row chooses that hit.
#include <QDialog>
#include <QStringList>

#include <functional>

class QLabel;
class QListWidget;
class QTimer;

class TFormSearchAll : public QDialog {
    Q_OBJECT

public:
    explicit TFormSearchAll(QWidget* parent = nullptr);

    // Searches some more and hands the new rows to AddRows; false once the search is done.
    std::function<bool()> More;
    void AddRows(const QStringList& rows);
    void SetStatus(const QString& text);
    // The row chosen when the dialog was accepted; -1 when none was.
    int Chosen() const;

    QLabel* const LabelStatus;
    QListWidget* const ListHits;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Tick();
    QTimer* const Timer;
};
