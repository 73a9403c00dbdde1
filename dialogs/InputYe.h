#pragma once
// The go-to-page pop-up: a small yellow borderless face that opens under the mouse pointer with
// its up arrow under the pointer. The number is typed or stepped with the arrows and the arrow
// keys; Enter or a right click on an arrow confirms it, Esc or a right click elsewhere on the
// face cancels, and the face can be dragged with the left button.
#include <QDialog>
#include <QPoint>

class QFrame;
class QLabel;
class QLineEdit;
class TArrowButton;

class TFormInputYe : public QDialog {
    Q_OBJECT

public:
    static constexpr int FaceWidth = 120;
    static constexpr int FaceHeight = 29;

    TFormInputYe(int currentPage, int pageCount, QWidget* parent = nullptr);

    // Where the face goes for a pointer at `pointer`: the up arrow under the pointer, moved as
    // little as needed to keep the whole face inside `screen`.
    static QPoint FacePosition(QPoint pointer, const QRect& screen);

    // "Next" or "Prev": one page more or less, within the document.
    void MouseYe(int delta);
    // Closes with OK and the typed number, or as cancelled when the text is not a number.
    void DoneText();

    int ResultPage = 0;
    bool Dragging = false;

    QFrame* const Panel1;
    QLabel* const Label1;
    QLineEdit* const EditInputYe;
    QLabel* const Label2;
    QWidget* const Panel2;
    TArrowButton* const BtnNextYe;
    TArrowButton* const BtnPrevYe;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FaceMouse(QEvent* event);
    bool EditKey(QEvent* event);

    int CurrentPage;
    int PageCount;
    QPoint DragStart; // the pointer on the screen when the drag began
    QPoint DragFrom;  // the face's position then
};
