#include "monitor/frmMain.h"

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/WindowActivation.h"

using namespace platform;

namespace monitor {

namespace {

WindowStyle MonitorWindowStyle() {
    WindowStyle style;
    style.border = BorderStyle::FixedSingle;
    style.controlBox = true;
    style.showInTaskbar = true;
    style.startPosition = StartPosition::WindowsDefault;
    style.clientWidthTwips = 1995;
    style.clientHeightTwips = 2220;
    style.backColor = vbBlack;
    style.caption = "TW Monitor App";
    return style;
}

constexpr Colour kWarningGreen = 0x00C000;
// The default font: small sans whose metrics fit the label sizes (three lines of warning).
const FontSpec kDefaultFont{"Arial", 7.5, false, false};

PictureBox* TestPicture(QWidget* parent, const Picture& picture, int left, bool autoRedraw) {
    auto* box = new PictureBox(parent, left, 0, 1695, 1140);
    box->SetScaleMode(vbPixels);
    box->SetAutoRedraw(autoRedraw);
    box->SetAutoSize(true);
    box->SetPicture(picture);
    return box;
}

} // namespace

frmMain::frmMain() : FormOf(MonitorWindowStyle()) {
    SetScaleMode(vbPixels);
    SetIcon(":/tw/twmonitor-32.png", ":/tw/twmonitor-16.png");
    CreateControls();
    Timer1.SetInterval(700);
    Timer1.Tick = [this] { Timer1_Timer(); };
    pctMonitor->Click = [this] { pctMonitor_Click(); };
}

void frmMain::CreateControls() {
    const Picture picture = LoadPictureResource(":/tw/monitor.bmp");
    pctSource = TestPicture(this, picture, 1680, true);
    pctSource->SetVisible(false);
    pctMonitor = TestPicture(this, picture, 0, false);

    lblWarning =
        new Label(this, "Do not move this window off-screen (artifacts will be falsely detected).",
                  120, 1560, 1815, 615);
    lblWarning->SetFont(kDefaultFont);
    lblWarning->SetForeColor(kWarningGreen);
    lblWarning->SetBackColor(vbBlack);
    lblWarning->SetAlignment(Alignment::Left);
    lblWarning->SetWordWrap(true);

    lblEnDis = new Label(this, "No artifacts detected.", 0, 1320, 1935, 255);
    lblEnDis->SetFont(kDefaultFont);
    lblEnDis->SetForeColor(vbGreen);
    lblEnDis->SetBackColor(vbBlack);
    lblEnDis->SetAlignment(Alignment::Center);
}

void frmMain::Form_Load() {
    if (AnotherInstanceRunning("TWMonitor"))
        End(0);

    ReferencePixels = ColourTable(CLng(pctSource->ScaleWidth()), CLng(pctSource->ScaleHeight()));
    const int32_t W = CLng(pctSource->ScaleWidth());
    for (int32_t x = 0; x <= W; x = AddChecked(x, 1)) {
        const int32_t H = CLng(pctSource->ScaleHeight());
        for (int32_t y = 0; y <= H; y = AddChecked(y, 1))
            ReferencePixels(x, y) = pctSource->Point(x, y);
    }

    Timer1.SetEnabled(true);
    // Staying on top is a wish to the window manager; its outcome is not checked.
    ResumeNext([this] { SetWindowTopmost(hwnd()); });
}

void frmMain::Timer1_Timer() {
    if (MoveOffset == 0 || MoveOffset > 10)
        MoveForward = !MoveForward;
    MoveOffset = MoveForward ? AddChecked(MoveOffset, 1) : SubtractChecked(MoveOffset, 1);
    pctMonitor->Move(MoveOffset, MoveOffset);

    // Read at once: what the screen shows right after the move is what counts.
    if (ArtifactsFound()) {
        lblEnDis->SetForeColor(vbRed);
        lblEnDis->SetCaption("ARTIFACTS FOUND!");
    } else {
        lblEnDis->SetForeColor(vbGreen);
        lblEnDis->SetCaption("No artifacts detected.");
    }
}

bool frmMain::ArtifactsFound() {
    const int32_t W = CLng(pctSource->ScaleWidth());
    for (int32_t x = 0; x <= W; x = AddChecked(x, 1)) {
        const int32_t H = CLng(pctSource->ScaleHeight());
        for (int32_t y = 0; y <= H; y = AddChecked(y, 1))
            if (pctMonitor->Point(x, y) != ReferencePixels(x, y))
                return true;
    }
    return false;
}

void frmMain::pctMonitor_Click() {
    Timer1.SetEnabled(!Timer1.Enabled());
}

void frmMain::Form_Unload(int& Cancel) {
    (void)Cancel;
    ResumeNext([] { AppActivate("Tarnwick 2.1"); });
    ResumeNext([] { End(0); });
}

} // namespace monitor
