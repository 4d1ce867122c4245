#include "dialogs/frmValid.h"

#include "main/frmMain.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "platform/TextFile.h"

using namespace platform;

namespace {

WindowStyle GuideStyle() {
    WindowStyle style;
    style.border = BorderStyle::FixedDialog;
    style.controlBox = true;
    style.showInTaskbar = false;
    style.startPosition = StartPosition::WindowsDefault;
    style.clientWidthTwips = 5535;
    style.clientHeightTwips = 4500;
    style.backColor = 0xE0E0E0;
    style.caption = "Taking Valid Measurements";
    return style;
}

} // namespace

frmValid::frmValid() : FormOf(GuideStyle()) {
    txtValid = new TextBox(this, 0, 0, 4455, 3495, TextBox::ScrollBars::Both);
    txtValid->SetForeColor(0xFF0000);
    txtValid->SetBackColor(0xE0E0E0);
    txtValid->SetFont(FontSpec{"Arial", 11.25, false, false});
    txtValid->SetLocked(false);
}

// A guide that cannot be read is reported and the window does not open; the program
// goes on.
void frmValid::Form_Load() {
    try {
        TextFile::Open(frmMain::Instance().Corvantis->GetPath() + "twmeasure.txt",
                       TextFile::Mode::Input);
        txtValid->SetText(TextFile::InputChars(TextFile::Lof()));
        TextFile::Close();
    } catch (const RuntimeError& error) {
        TextFile::Close();
        MsgBox("The guide twmeasure.txt could not be read: " + error.Description());
        Unload();
    }
}

void frmValid::Form_Resize() {
    ResumeNext([this] { txtValid->Move(ScaleLeft(), ScaleTop(), ScaleWidth(), ScaleHeight()); });
}
