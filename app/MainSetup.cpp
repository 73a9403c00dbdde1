// The settings command: the dialog edits the settings in memory, and OK re-applies exactly what
// the user changed; the defaults button clears the first-run mark for the next start.
#include "Main.h"

#include "dialogs/Setup.h"
#include "records/SettingsStore.h"
#include "window/PictureChooser.h"

void TFormMain::ItemSetupClick() {
    ShowMainForm();
    Setting.BookLeft = x();
    Setting.BookTop = y();
    Setting.BookWidth = width();
    Setting.BookHeight = height();
    Setting.Maximized = IsMaximized();
    const TFormSetup::Info info{Book.DocumentName(), Book.PageCount(), Book.CharCount(),
                                Book.CurrentPage()};
    TFormSetup::Choosers choosers;
    choosers.Font = ChooseFontSpec;
    choosers.Picture = ChooseBookPicture;
    TFormSetup dialog(Setting, Changes, info, choosers, this);
    const int result = dialog.exec();
    if (result == QDialog::Accepted)
        Init_Setup();
    else if (result == TFormSetup::DefaultResult)
        Tell(ResetSettings(Reg));
}
