#include "dialogs/frmChat.h"

#include "main/frmMain.h"
#include "platform/Errors.h"

using namespace platform;

namespace {

WindowStyle ChatStyle() {
    WindowStyle style;
    style.border = BorderStyle::FixedDialog;
    style.controlBox = true;
    style.showInTaskbar = false;
    style.startPosition = StartPosition::CenterScreen;
    style.clientWidthTwips = 8535;
    style.clientHeightTwips = 4935;
    style.caption = "Tarnwick Chat";
    return style;
}

} // namespace

frmChat::frmChat() : FormOf(ChatStyle()) {
    wbChat = new WebBrowser(this, 0, 0, 8415, 4815);
}

// A page that cannot be opened still opens the window; the view shows what it shows.
void frmChat::Form_Load() {
    ResumeNext([this] { wbChat->Navigate(frmMain::Instance().Corvantis->GetPath() + "chat.htm"); });
}

void frmChat::Form_Resize() {
    wbChat->Move(ScaleLeft(), ScaleTop(), ScaleWidth(), ScaleHeight());
}
