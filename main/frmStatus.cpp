#include "main/frmStatus.h"

#include "main/frmMain.h"

using namespace platform;

namespace {

WindowStyle StatusStyle() {
    WindowStyle style;
    // No caption and no control box: no title bar.
    style.border = BorderStyle::FixedDialog;
    style.controlBox = false;
    style.showInTaskbar = false;
    style.startPosition = StartPosition::CenterScreen;
    style.clientWidthTwips = 2535;
    style.clientHeightTwips = 825;
    return style;
}

} // namespace

frmStatus::frmStatus() : FormOf(StatusStyle()) {
    const FontSpec font{"Arial", 8.25, false, false};
    lblTesting = new Label(this, "Testing... (press Q to cancel)", 120, 120, 2415, 255);
    lblTesting->SetFont(font);
    lblPrcnt = new Label(this, "0% Complete", 120, 360, 2295, 255);
    lblPrcnt->SetFont(font);
}

// The run sees the flag at the end of its current pass.
void frmStatus::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == 'Q' || KeyAscii == 'q') {
        frmMain::Instance().QuitFlag = true;
        Unload();
    }
}
