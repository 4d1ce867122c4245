#include "testbed/frmTestBed.h"

#include "engine/clsCorvantis.h"
#include "main/frmMain.h"
#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/ScreenReader.h"

#include <QWindow>

#include <cmath>

using namespace platform;

namespace {

// Not pi: at 720 degrees the picture is slightly short of two full turns.
constexpr double kDegreesToRadians = 3.1415 / 180;

// How long a slow window manager may take to put the window on the screen.
constexpr double kShowSeconds = 5;

WindowStyle TestBedStyle() {
    WindowStyle style;
    style.border = BorderStyle::FixedToolWindow;
    style.controlBox = false;
    style.showInTaskbar = false;
    style.startPosition = StartPosition::CenterScreen;
    style.clientWidthTwips = 9525;
    style.clientHeightTwips = 8025;
    style.backColor = 0x000000;
    style.caption = "Test Bed";
    return style;
}

int32_t AddChecked(int32_t total, int32_t score) {
    int32_t sum = 0;
    if (__builtin_add_overflow(total, score, &sum))
        Raise(ErrOverflow, "Overflow");
    return sum;
}

} // namespace

SweepPoint SweepPosition(double a, float windowWidth, float windowHeight, float pictureWidth,
                         float pictureHeight) {
    const int32_t dx = CLng(std::cos(a * kDegreesToRadians) * 50);
    const int32_t dy = CLng(-std::sin(a * kDegreesToRadians) * 30);
    return SweepPoint{
        CLng(dx + static_cast<double>(windowWidth) / 2 - static_cast<double>(pictureWidth) / 2),
        CLng(dy + static_cast<double>(windowHeight) / 2 - static_cast<double>(pictureHeight) / 2)};
}

frmTestBed::frmTestBed() : FormOf(TestBedStyle()) {
    pctTest = new PictureBox(this, 4320, 3120, 255, 255);
    pctTest->SetBackColor(0x80000005);
    pctTest->SetForeColor(0x80000008);
}

clsCorvantis& frmTestBed::Corvantis() {
    clsCorvantis* engine = frmMain::Instance().Corvantis.get();
    if (!engine)
        Raise(ErrObjectRequired, "Object required: the main window holds no engine");
    return *engine;
}

void frmTestBed::Form_Load() {
    Corvantis().SetTestObject(pctTest);
    Corvantis().ConsoleTextAdd("Set corvantis test object successful.");
    Show();
    PumpUntilOnScreen();
    pctTest->SetVisible(true);
    pctTest->Move(1, 1);

    int16_t highest = -1;
    if (!BitmapIndexFits(highest)) {
        Unload();
        return;
    }
    int32_t total = 0;
    // A wider counter, so that a last index of 32767 ends the loop instead of wrapping.
    for (int32_t index = 0; index <= highest; ++index) {
        const auto i = static_cast<int16_t>(index);
        Corvantis().ConsoleTextAdd("Loading bitmap" + Str(i));
        if (!LoadBitmapOrReport(i)) {
            Unload();
            return;
        }
        PumpPendingEvents();
        Corvantis().ConsoleTextAdd("Recording pixels for bitmap" + Str(i));
        SetCaption("Recording original pixel data... - " + frmMain::Instance().BitmapSet);
        Corvantis().RecordPixels();
        Corvantis().ConsoleTextAdd("Testing bitmap" + Str(i));
        SetCaption("Testing... - " + frmMain::Instance().BitmapSet);
        Sweep();
        PumpPendingEvents();
        Corvantis().ConsoleTextAdd("Checking bitmap" + Str(i));
        SetCaption("Checking for corruption... - " + frmMain::Instance().BitmapSet);
        Corvantis().TestPixels(i);
        Corvantis().ConsoleTextAdd("Bitmap" + Str(i) + " reported " + Str(Corvantis().GetScore(i)) +
                                   " artifacts.");
        total = AddChecked(total, Corvantis().GetScore(i));
    }
    Corvantis().ConsoleTextAdd("");
    Corvantis().ConsoleTextAdd("Score is " + Str(total) + " ArtifactMarks");
    frmMain::Instance().SetScore(Str(total) + " ArtifactMarks");
    if (total != 0)
        Corvantis().ConsoleTextAdd("You have artifacts...lower your video settings");
    else
        Corvantis().ConsoleTextAdd("You have no artifacts...overclock some more!");
    Unload();
}

void frmTestBed::PumpPendingEvents() {
    // Events answer requests the server may not have handled yet: a new window's first
    // expose, above all. Waiting for it first lets the pump paint what the compare reads.
    SyncWithServer();
    DoEvents();
}

void frmTestBed::PumpUntilOnScreen() {
    PumpPendingEvents();
    const double giveUp = MonotonicSeconds() + kShowSeconds;
    while (!(windowHandle() && windowHandle()->isExposed()) && MonotonicSeconds() < giveUp)
        PumpEventsFor(0.005);
}

bool frmTestBed::BitmapIndexFits(int16_t& highest) {
    const int32_t count = Corvantis().GetBitmapCount();
    try {
        highest = CInt(count);
        return true;
    } catch (const RuntimeError&) {
        Corvantis().ConsoleTextAdd("Bitmap set " + frmMain::Instance().BitmapSet + " has " +
                                   Str(int64_t{count} + 1) + " bitmaps, more than the 32768 a " +
                                   "test can index: nothing tested.");
        return false;
    }
}

bool frmTestBed::LoadBitmapOrReport(int16_t Id) {
    try {
        Corvantis().LoadBitmap(Id);
        return true;
    } catch (const RuntimeError& error) {
        Corvantis().ConsoleTextAdd("Bitmap" + Str(Id) +
                                   " could not be loaded: " + error.Description());
        return false;
    }
}

void frmTestBed::Sweep() {
    ForEachSweepAngle([this](double a) {
        const SweepPoint to = SweepPosition(
            a, static_cast<float>(ScaleWidth()), static_cast<float>(ScaleHeight()),
            static_cast<float>(pctTest->ScaleWidth()), static_cast<float>(pctTest->ScaleHeight()));
        Corvantis().MoveTestObject(to.left, to.top);
    });
}
