#pragma once

#include "platform/Controls.h"
#include "platform/Forms.h"

// The guide on taking valid measurements, shown as stored and never saved.
class frmValid : public platform::FormOf<frmValid> {
  public:
    frmValid();

    platform::TextBox* txtValid;

  protected:
    void Form_Load() override;
    void Form_Resize() override;
};
