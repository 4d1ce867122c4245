#pragma once

#include "platform/Controls.h"
#include "platform/Forms.h"

// The borderless About window with the release line, the icon and two buttons.
class frmAbout : public platform::FormOf<frmAbout> {
  public:
    frmAbout();

    platform::Label* lblTitleShadow;
    platform::Label* lblTitle;
    platform::Image* Image1;
    platform::Label* Label1;
    platform::CommandButton* cmdGoChat;
    platform::CommandButton* cmdOk;

    void cmdOk_Click();
    void cmdGoChat_Click();

  protected:
    void Form_Load() override;
    // Enter presses the default button.
    void Form_KeyPress(int& KeyAscii) override;
};
