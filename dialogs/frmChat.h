#pragma once

#include "platform/Forms.h"
#include "platform/WebBrowser.h"

// The chat window: a web view on the program folder's chat page.
class frmChat : public platform::FormOf<frmChat> {
  public:
    frmChat();

    platform::WebBrowser* wbChat;

  protected:
    void Form_Load() override;
    void Form_Resize() override;
};
