// The book window's edit mode, web shortcuts and quitting.
//
// While the pair is being edited the boxes hold the only copy of what was typed, so nothing may
// change the document or the pages under them: the main menu is locked (no popup from the book
// or the tray and no shortcut runs an item), the page menu, the keyboard map, drops and the
// page turns are off, and a resize only moves the boxes.
#include "Main.h"

#include "records/Global.h"
#include "window/WebShortcuts.h"

namespace {

const char* const DiscardEditQuestion = "编辑的文字还没有保存，确定要放弃修改吗？";

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

} // namespace

void TFormMain::ConnectEditMenus() {
    connect(Menus->ItemEdit, &QAction::triggered, this, &TFormMain::ItemEditClick);
    connect(Menus->ItemReadClip, &QAction::triggered, this, &TFormMain::ItemReadClipClick);
    connect(Menus->ItemRecordTime, &QAction::triggered, this, &TFormMain::ItemRecordTimeClick);
    connect(Menus->ItemAbout, &QAction::triggered, this, &TFormMain::ItemAboutClick);
    connect(Menus->ItemQuit, &QAction::triggered, this, &TFormMain::ItemQuitClick);
}

// The edit boxes are made when edit mode is first entered: making them cost the start several
// milliseconds, and every use of them comes in edit mode.
void TFormMain::CreateEditBoxes() {
    MemoEdit1 = new EditBox(this);
    MemoEdit2 = new EditBox(this);
    MemoEdit1->setObjectName(QStringLiteral("MemoEdit1"));
    MemoEdit2->setObjectName(QStringLiteral("MemoEdit2"));
    for (EditBox* box : {MemoEdit1, MemoEdit2}) {
        connect(box, &EditBox::SaveRequested, this, &TFormMain::ItemSaveEditClick);
        connect(box, &EditBox::ExitRequested, this, &TFormMain::AskExitEdit);
    }
}

// The built-in help text is made afresh by every pagination, so an edit of it could not be kept:
// edit mode is for documents only.
void TFormMain::ItemEditClick() {
    if (!Book.HasDocument())
        return;
    if (!MemoEdit1)
        CreateEditBoxes();
    ShowMainForm();
    EditMode = true;
    Menus->SetLocked(true);
    UnderlineVisible = false;
    PlaceEditBoxes();
    for (EditBox* box : {MemoEdit1, MemoEdit2}) {
        box->setFont(PageQFont);
        box->show();
    }
    FillEditBoxes();
    MemoEdit1->setFocus();
    update();
}

void TFormMain::PlaceEditBoxes() {
    const int top = Geometry.PageTop - 3;
    const QSize size(Geometry.PageWidth, Geometry.PageHeight + 3);
    MemoEdit1->setGeometry(QRect(QPoint(Geometry.Page1Left, top), size));
    MemoEdit2->setGeometry(QRect(QPoint(Geometry.Page2Left - 5, top), size));
}

// The boxes get the exact source text of the shown lines, and what they held before is dropped.
void TFormMain::FillEditBoxes() {
    Edit = Book.BeginEdit();
    MemoEdit1->setPlainText(ToQString(Edit->Left().Decoded.Text));
    MemoEdit2->setPlainText(ToQString(Edit->Right().Decoded.Text));
}

bool TFormMain::EditTextChanged() const {
    return Edit && (FromQString(MemoEdit1->toPlainText()) != Edit->Left().Decoded.Text ||
                    FromQString(MemoEdit2->toPlainText()) != Edit->Right().Decoded.Text);
}

// The text is put back before edit mode ends, so that a refused save (a character the
// document's code cannot hold) leaves the reader in the boxes with the text as typed.
void TFormMain::ItemSaveEditClick() {
    if (!EditMode || !Edit)
        return;
    if (const std::optional<std::string> refusal = Book.ApplyEdit(
            *Edit, FromQString(MemoEdit1->toPlainText()), FromQString(MemoEdit2->toPlainText()))) {
        ShowWarning(*refusal);
        return;
    }
    LeaveEditMode();
    Init_Page(); // a resize while editing only moved the boxes
    ShowBook();
}

void TFormMain::ItemExitEditClick() {
    if (!EditMode)
        return;
    LeaveEditMode();
    // A resize while editing only moved the boxes; the pages catch up now, at the same place.
    Init_Page();
    ShowBook();
}

void TFormMain::AskExitEdit() {
    if (!EditTextChanged() || AskConfirm(DiscardEditQuestion))
        ItemExitEditClick();
}

bool TFormMain::MayCloseWhileEditing(bool fromWindowManager) {
    return !fromWindowManager || !EditMode || !EditTextChanged() || AskConfirm(DiscardEditQuestion);
}

void TFormMain::LeaveEditMode() {
    EditMode = false;
    Menus->SetLocked(false);
    UnderlineVisible = Setting.ShowUnderline;
    MemoEdit1->hide();
    MemoEdit2->hide();
    Edit.reset();
    setFocus();
    update();
}

void TFormMain::ItemReadClipClick() {
    OpenWebShortcut(0);
}

void TFormMain::ItemRecordTimeClick() {
    OpenWebShortcut(1);
}

void TFormMain::ItemAboutClick() {
    OpenWebShortcut(2);
}

// The same shut-down as any other close: FormClose, then the program ends (also when the book
// sits hidden in the tray).
void TFormMain::ItemQuitClick() {
    close();
}
