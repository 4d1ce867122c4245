#include "dialogs/frmSelectBitmapSet.h"

#include "main/frmMain.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/TextFile.h"

using namespace platform;

namespace {

WindowStyle ChooserStyle() {
    WindowStyle style;
    style.border = BorderStyle::FixedDialog;
    style.controlBox = true;
    style.showInTaskbar = false;
    style.startPosition = StartPosition::CenterScreen;
    style.clientWidthTwips = 4290;
    style.clientHeightTwips = 2040;
    style.caption = "Select Bitmap Set (Software test)";
    return style;
}

} // namespace

frmSelectBitmapSet::frmSelectBitmapSet() : FormOf(ChooserStyle()) {
    Label1 = new Label(this, "Bitmap Sets Available:", 120, 120, 2175, 255);
    List1 = new ListBox(this, 120, 360, 2895, 1425);
    Command1 = new CommandButton(this, "Set Selected", 3120, 360, 1095, 375);
    Command2 = new CommandButton(this, "Cancel", 3120, 840, 1095, 375);
    lblCurSet = new Label(this, "Current Bitmap Set:", 120, 1800, 4095, 255);
    Command1->Click = [this] { Command1_Click(); };
    Command2->Click = [this] { Command2_Click(); };
}

// Every step goes on after a failure: a missing or unreadable list gives an empty one.
void frmSelectBitmapSet::Form_Load() {
    ResumeNext([] {
        TextFile::Open(frmMain::Instance().Corvantis->GetPath() + "bitmapsets.ini",
                       TextFile::Mode::Input);
    });
    std::string name;
    for (;;) {
        bool atEnd = true;
        if (!ResumeNext([&atEnd] { atEnd = TextFile::Eof(); }) || atEnd)
            break;
        ResumeNext([&name] { name = TextFile::Input(); });
        ResumeNext([this, &name] { List1->AddItem(name); });
    }
    ResumeNext([] { TextFile::Close(); });
    ResumeNext(
        [this] { lblCurSet->SetCaption("Current Bitmap Set: " + frmMain::Instance().BitmapSet); });
}

// The new name replaces the old one in one step, so a failed write leaves the old
// name in place; the start-up then loads the set just written.
void frmSelectBitmapSet::Command1_Click() {
    const std::string file = frmMain::Instance().Corvantis->GetPath() + "curset.ini";
    try {
        ReplaceFileContent(file, List1->Text() + "\r\n");
    } catch (const RuntimeError& error) {
        MsgBox("The bitmap set could not be saved to curset.ini: " + error.Description() +
               "\nThe current bitmap set is unchanged.");
        return;
    }
    frmMain::Instance().RunFormLoad();
    Unload();
}

void frmSelectBitmapSet::Command2_Click() {
    Unload();
}
