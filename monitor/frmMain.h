#pragma once

#include "monitor/Checked.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/PictureBox.h"

#include <cstdint>

namespace monitor {

// The monitor's only window: a picture that moves one pixel at every tick and is
// compared, as the screen shows it, with the colours read from its hidden copy at start.
class frmMain : public platform::FormOf<frmMain> {
  public:
    frmMain();

    platform::PictureBox* pctSource;
    platform::PictureBox* pctMonitor;
    class platform::Timer Timer1; // "class": the clock function shares the name
    platform::Label* lblWarning;
    platform::Label* lblEnDis;

    void Timer1_Timer();
    void pctMonitor_Click();

  protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

  private:
    // Lets the window tests load windows of their own and read the reference table.
    friend struct MonitorInternals;

    bool MoveForward = false;
    int32_t MoveOffset = 0;
    ColourTable ReferencePixels;

    bool ArtifactsFound();
    void CreateControls();
};

} // namespace monitor
