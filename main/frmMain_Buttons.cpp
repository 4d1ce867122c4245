#include "main/frmMain.h"

#include "dialogs/frmAbout.h"
#include "dialogs/frmChat.h"
#include "dialogs/frmSelectBitmapSet.h"
#include "dialogs/frmValid.h"
#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "testbed/frmTestBed.h"

#include <cmath>
#include <limits>

using namespace platform;

namespace {

constexpr int kLitColour = 9;
constexpr int kPlainColour = 0;

// Twips from pixels in 32-bit arithmetic, as the window position takes them.
int32_t PixelsToTwips(int32_t pixels) {
    const int64_t twips = static_cast<int64_t>(pixels) * kTwipsPerPixel;
    if (twips < std::numeric_limits<int32_t>::min() || twips > std::numeric_limits<int32_t>::max())
        Raise(ErrOverflow, "Overflow");
    return static_cast<int32_t>(twips);
}

// The program and its user go on when a window of information cannot open.
void ShowModalOrReport(const std::string& what, const std::function<void()>& show) {
    try {
        show();
    } catch (const RuntimeError& error) {
        MsgBox(what + " could not be opened: " + error.Description());
    }
}

} // namespace

void frmMain::lblButtons_Click(int Index) {
    switch (Index) {
    case 0:
        if (opnSoftware->Value()) {
            ResumeNext([] { frmTestBed::Instance().Show(); });
        } else {
            ResumeNext([this] { RunDirectDrawTest(); });
        }
        break;
    case 1:
        ResumeNext([] { frmChat::Instance().Show(); });
        break;
    case 2:
        ResumeNext([] { frmSelectBitmapSet::Instance().Show(); });
        break;
    case 3:
        ResumeNext([this] { Shell(Corvantis->GetPath() + "TWMONITOR.EXE", vbNormalFocus); });
        break;
    case 4:
        End();
    default:
        break;
    }
}

void frmMain::opnDXTesting_Click() {
    Frame2->SetEnabled(true);
}

void frmMain::opnSoftware_Click() {
    Frame2->SetEnabled(false);
}

void frmMain::opnAbout_MouseUp(int, int, float, float) {
    opnAbout->SetValue(false);
    ShowModalOrReport("The About window", [] {
        frmAbout& about = frmAbout::Instance();
        if (about.Loaded())
            about.Show(1);
    });
}

void frmMain::opnValid_MouseUp(int, int, float, float) {
    opnValid->SetValue(false);
    ShowModalOrReport("The guide window", [] {
        frmValid& guide = frmValid::Instance();
        // A guide that cannot be read has been reported and unloaded already.
        if (guide.Loaded())
            guide.Show(1);
    });
}

void frmMain::opnKestrelon_MouseUp(int, int, float, float) {
    opnKestrelon->SetValue(false);
    const std::string program = Corvantis->GetPath() + "Kestrelon.exe";
    try {
        Shell(program, vbNormalFocus);
    } catch (const RuntimeError& error) {
        MsgBox("Kestrelon.exe could not be started: " + error.Description());
    }
}

void frmMain::lblButtons_MouseMove(int Index, int, int, float, float) {
    lblButtons[static_cast<size_t>(Index)]->SetBackStyle(1);
    for (int i = 0; i < static_cast<int>(lblButtons.size()); ++i) {
        if (i == Index)
            continue;
        lblButtons[static_cast<size_t>(i)]->SetBackStyle(0);
        lblButtons[static_cast<size_t>(i)]->SetForeColor(vbBlack);
    }
}

void frmMain::lblButtons_MouseDown(int Index, int, int, float, float) {
    lblButtons[static_cast<size_t>(Index)]->SetForeColor(QBColor(kLitColour));
}

void frmMain::lblButtons_MouseUp(int Index, int, int, float, float) {
    lblButtons[static_cast<size_t>(Index)]->SetForeColor(vbBlack);
}

void frmMain::opnDXTest_MouseMove(int Index, int, int, float, float) {
    opnDXTest[static_cast<size_t>(Index)]->SetForeColor(QBColor(kLitColour));
    for (int i = 0; i < static_cast<int>(opnDXTest.size()); ++i)
        if (i != Index)
            opnDXTest[static_cast<size_t>(i)]->SetForeColor(QBColor(kPlainColour));
}

void frmMain::opnDXTesting_MouseMove(int, int, float, float) {
    opnDXTesting->SetForeColor(QBColor(kLitColour));
    opnSoftware->SetForeColor(vbBlack);
}

void frmMain::opnSoftware_MouseMove(int, int, float, float) {
    opnSoftware->SetForeColor(QBColor(kLitColour));
    opnDXTesting->SetForeColor(vbBlack);
}

// The window follows the cursor, keeping the cursor's offset from its top-left corner,
// until the button is released over the title.
void frmMain::lblTitle_MouseDown(int, int, float, float) {
    DragDone = false;
    GetCursorPos(CursorPos);
    const int32_t offsetX = CLng(std::abs(Left() / 15.0 - CursorPos.x));
    const int32_t offsetY = CLng(std::abs(Top() / 15.0 - CursorPos.y));
    do {
        GetCursorPos(CursorPos);
        SetLeft(PixelsToTwips(CursorPos.x - offsetX));
        SetTop(PixelsToTwips(CursorPos.y - offsetY));
        DoEvents();
    } while (!DragDone);
}

void frmMain::lblTitle_MouseUp(int, int, float, float) {
    DragDone = true;
}
