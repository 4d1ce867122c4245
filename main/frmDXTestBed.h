#pragma once

#include "platform/Forms.h"

// The cover window of the DirectDraw test: the screen's top-left 320 x 240 pixels.
class frmDXTestBed : public platform::FormOf<frmDXTestBed> {
  public:
    frmDXTestBed();
};
