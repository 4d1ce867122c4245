#pragma once

#include "platform/Forms.h"
#include "platform/PictureBox.h"

#include <cstdint>

class clsCorvantis;

// Where the sweep puts the picture: its left and top edges in pixels of the window.
struct SweepPoint {
    int32_t left = 0;
    int32_t top = 0;
    bool operator==(const SweepPoint&) const = default;
};

// The sweep's angle in degrees: from 1, adding 0.01 after each step while not past 720.
// The additions accumulate their rounding, which decides how many steps there are.
template <class Step> void ForEachSweepAngle(Step&& step) {
    for (double a = 1; a <= 720; a += 0.01)
        step(a);
}

// The picture's place at angle a: its centre on an ellipse 50 pixels to each side and 30 up
// and down about the centre of a window of windowWidth x windowHeight.
SweepPoint SweepPosition(double a, float windowWidth, float windowHeight, float pictureWidth,
                         float pictureHeight);

// The software test: loading it runs the whole test over the current bitmap set and then
// unloads it.
class frmTestBed : public platform::FormOf<frmTestBed> {
  public:
    frmTestBed();

    platform::PictureBox* pctTest;

  protected:
    void Form_Load() override;

  private:
    // The engine the main window holds now; a pump may have replaced it.
    static clsCorvantis& Corvantis();
    // Pumps the pending events, those still on their way from the window server included.
    void PumpPendingEvents();
    // Pumps pending events, and goes on pumping until the window manager has put the window
    // on the screen: the test compares what the screen shows.
    void PumpUntilOnScreen();
    // Counts the bitmaps to test; false (with a console line) when they overflow the index.
    static bool BitmapIndexFits(int16_t& highest);
    // Loads one bitmap; false (with a console line naming its file) when it cannot be loaded.
    static bool LoadBitmapOrReport(int16_t Id);
    void Sweep();
};
