#include "dialogs/frmAbout.h"

#include "data/resources/TwResources.h"
#include "dialogs/frmChat.h"

using namespace platform;

namespace {

WindowStyle AboutStyle() {
    WindowStyle style;
    style.border = BorderStyle::None;
    style.controlBox = false;
    style.showInTaskbar = false;
    style.startPosition = StartPosition::CenterScreen;
    style.clientWidthTwips = 4575;
    style.clientHeightTwips = 1800;
    style.backColor = 0xE0E0E0;
    return style;
}

const FontSpec kTitleFont{"Arial", 15.75, false, true};
constexpr Colour kFace = 0xE0E0E0;
constexpr int kEnter = 13;

Label* TransparentLabel(QWidget* parent, const std::string& text, int left, int top, int width,
                        int height) {
    auto* label = new Label(parent, text, left, top, width, height);
    label->SetBackStyle(0);
    return label;
}

} // namespace

frmAbout::frmAbout() : FormOf(AboutStyle()) {
    lblTitleShadow = TransparentLabel(this, "About Tarnwick 5", 360, 240, 3255, 615);
    lblTitleShadow->SetForeColor(0xC0C0C0);
    lblTitleShadow->SetFont(kTitleFont);
    lblTitle = TransparentLabel(this, "About Tarnwick 5", 240, 120, 3255, 375);
    lblTitle->SetForeColor(0xFF0000);
    lblTitle->SetFont(kTitleFont);
    Image1 = new Image(this, 120, 720, 480, 480);
    Image1->SetPictureResource(twresources::MainIcon32);
    Label1 = TransparentLabel(this, "Tarnwick 5 RELEASE 2\nby the Tarnwick developers", 720, 720,
                              3615, 495);
    cmdGoChat = new CommandButton(this, "Go Chat!", 360, 1320, 1575, 375);
    cmdGoChat->SetBackColor(kFace);
    cmdOk = new CommandButton(this, "OK", 2520, 1320, 1575, 375);
    cmdOk->SetBackColor(kFace);
    cmdOk->SetDefault(true);
    cmdGoChat->Click = [this] { cmdGoChat_Click(); };
    cmdOk->Click = [this] { cmdOk_Click(); };
}

void frmAbout::Form_Load() {
    SetScaleMode(vbPixels);
    SetAutoRedraw(true);
    LineBox(0, 0, ScaleWidth() - 1, ScaleHeight() - 1, vbBlack);
}

void frmAbout::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == kEnter)
        cmdOk_Click();
}

void frmAbout::cmdOk_Click() {
    Unload();
}

void frmAbout::cmdGoChat_Click() {
    frmChat::Instance().Show();
}
