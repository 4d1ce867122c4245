#pragma once

#include "platform/Controls.h"
#include "platform/Forms.h"

// The bitmap-set chooser: the sets listed in "bitmapsets.ini" and the current one.
class frmSelectBitmapSet : public platform::FormOf<frmSelectBitmapSet> {
  public:
    frmSelectBitmapSet();

    platform::Label* Label1;
    platform::ListBox* List1;
    platform::CommandButton* Command1;
    platform::CommandButton* Command2;
    platform::Label* lblCurSet;

    void Command1_Click();
    void Command2_Click();

  protected:
    void Form_Load() override;
};
