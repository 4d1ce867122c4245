#pragma once

#include "platform/Controls.h"
#include "platform/Forms.h"

// Progress of the DirectDraw run; Q cancels it.
class frmStatus : public platform::FormOf<frmStatus> {
  public:
    frmStatus();

    platform::Label* lblTesting;
    platform::Label* lblPrcnt;

  protected:
    void Form_KeyPress(int& KeyAscii) override;
};
