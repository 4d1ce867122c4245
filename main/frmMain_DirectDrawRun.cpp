#include "main/frmDXTestBed.h"
#include "main/frmMain.h"
#include "main/frmStatus.h"
#include "platform/Convert.h"
#include "platform/Errors.h"

#include <cmath>
#include <functional>
#include <string>

using namespace platform;

namespace {

constexpr double kPauseSeconds = 0.03;
// The counted area: the copied 320 x 240 pixels less row and column 0 and the last two
// rows and columns.
constexpr int32_t kLastColumn = 317;
constexpr int32_t kLastRow = 237;

// A DirectDraw step that failed: counting on would report invented pixels as a result.
struct StepFailed {
    std::string doing;
    std::string why;
};

template <class Step> auto Attempt(const char* doing, Step&& step) {
    try {
        return step();
    } catch (const RuntimeError& error) {
        throw StepFailed{doing, error.Description()};
    }
}

std::string ProgressText(int32_t pass, int32_t passes) {
    return Str(CLng(static_cast<double>(pass) / passes * 100.0)) + "% complete";
}

void HideIfLoaded(bool loaded, const std::function<void()>& hide) {
    if (loaded)
        ResumeNext(hide);
}

} // namespace

// The pass count of the chosen strength; every chosen button counts, the last one wins.
int32_t frmMain::DirectDrawPassCount() const {
    int32_t passes = 0;
    for (size_t i = 0; i < opnDXTest.size(); ++i)
        if (opnDXTest[i]->Value())
            passes = CLng(std::pow(static_cast<double>(i + 1), 4) * 80.0);
    return passes;
}

void frmMain::RunDirectDrawTest() {
    QuitFlag = false;
    try {
        if (!RunDirectDrawPasses())
            return;
        const int32_t marks = CountDirectDrawMarks();
        SetScore(Str(marks) + " DXArtifactMarks");
        Corvantis->ConsoleTextAdd("You recieved " + Str(marks) + " DXArtifactMarks.");
        if (marks != 0)
            Corvantis->ConsoleTextAdd("You got artifacts, please lower your video settings.");
        else
            Corvantis->ConsoleTextAdd("No aritfacts detected!  Please overclock some more!");
    } catch (const StepFailed& failure) {
        StopDirectDrawTest(failure.doing, failure.why);
    }
}

// False when the user cancelled.
bool frmMain::RunDirectDrawPasses() {
    Attempt("preparing the surfaces", [this] { Corvantis->PrepareDXBuffers(); });
    ResumeNext([] { frmStatus::Instance().Show(); });
    DoEvents();

    const int32_t passes = DirectDrawPassCount();
    for (int32_t pass = 1; pass <= passes; ++pass) {
        Attempt("copying between the surfaces", [this] {
            for (int swap = 0; swap < 3; ++swap)
                Corvantis->SwapBuffers();
        });
        // A clock that cannot fall back at midnight; waiting for events holds no core.
        PumpEventsFor(kPauseSeconds);
        if (QuitFlag) {
            Corvantis->ConsoleTextAdd("DX test was cancelled by user.");
            return false;
        }
        ResumeNext([&] { frmStatus::Instance().lblPrcnt->SetCaption(ProgressText(pass, passes)); });
    }

    ResumeNext([] { frmStatus::Instance().Hide(); });
    DoEvents();
    ResumeNext([] { frmDXTestBed::Instance().Show(); });
    DoEvents();
    return true;
}

// No events are pumped while the screen is locked.
int32_t frmMain::CountDirectDrawMarks() {
    Attempt("copying to the screen", [this] { Corvantis->BltFront(); });
    Attempt("locking the screen", [this] { Corvantis->LockPrimary(); });
    int32_t marks = 0;
    Attempt("reading the screen", [&] {
        const int32_t reference = Corvantis->ReadLockedPixel(1, 1);
        for (int32_t x = 1; x <= kLastColumn; ++x)
            for (int32_t y = 1; y <= kLastRow; ++y)
                if (Corvantis->ReadLockedPixel(x, y) != reference)
                    ++marks;
    });
    Attempt("unlocking the screen", [this] { Corvantis->UnlockPrimary(); });
    ResumeNext([] { frmDXTestBed::Instance().Hide(); });
    return marks;
}

void frmMain::StopDirectDrawTest(const std::string& doing, const std::string& why) {
    // A lock left behind would refuse the next run's lock.
    ResumeNext([this] { Corvantis->UnlockPrimary(); });
    HideIfLoaded(frmStatus::IsLoaded(), [] { frmStatus::Instance().Hide(); });
    HideIfLoaded(frmDXTestBed::IsLoaded(), [] { frmDXTestBed::Instance().Hide(); });
    ResumeNext([&] {
        Corvantis->ConsoleTextAdd("DX test could not be completed: " + doing + " failed (" + why +
                                  ").");
    });
}
