#pragma once

#include "engine/clsCorvantis.h"
#include "platform/Controls.h"
#include "platform/Forms.h"

#include <array>
#include <memory>
#include <string>

// The main window: start-up, shared state, command buttons and the DirectDraw run.
class frmMain : public platform::FormOf<frmMain> {
  public:
    frmMain();

    std::unique_ptr<clsCorvantis> Corvantis;
    std::string BitmapSet;
    bool QuitFlag = false;

    void RunFormLoad();
    void SetScore(const std::string& Inp);

    platform::Label* lblTitleShadow;
    platform::Label* lblTitle;
    platform::Label* lblDescription;
    std::array<platform::Label*, 5> lblButtons;
    platform::FileListBox File1;
    platform::Frame* Frame1;
    platform::OptionButton* opnSoftware;
    platform::OptionButton* opnDXTesting;
    platform::Label* lblMessagesLabel;
    platform::TextBox* txtConsole;
    platform::Frame* Frame2;
    platform::Label* lblIntensiveDesc;
    std::array<platform::OptionButton*, 4> opnDXTest;
    platform::OptionButton* opnAbout;
    platform::OptionButton* opnKestrelon;
    platform::OptionButton* opnValid;
    platform::Label* Label1;
    platform::Label* lblScoreShadow;
    platform::Label* lblScore;

    // Command and option buttons.
    void lblButtons_Click(int Index);
    void opnDXTesting_Click();
    void opnSoftware_Click();
    void opnAbout_MouseUp(int Button, int Shift, float X, float Y);
    void opnValid_MouseUp(int Button, int Shift, float X, float Y);
    void opnKestrelon_MouseUp(int Button, int Shift, float X, float Y);

    // Look and feel.
    void lblButtons_MouseMove(int Index, int Button, int Shift, float X, float Y);
    void lblButtons_MouseDown(int Index, int Button, int Shift, float X, float Y);
    void lblButtons_MouseUp(int Index, int Button, int Shift, float X, float Y);
    void opnDXTest_MouseMove(int Index, int Button, int Shift, float X, float Y);
    void opnDXTesting_MouseMove(int Button, int Shift, float X, float Y);
    void opnSoftware_MouseMove(int Button, int Shift, float X, float Y);
    void lblTitle_MouseDown(int Button, int Shift, float X, float Y);
    void lblTitle_MouseUp(int Button, int Shift, float X, float Y);

  protected:
    void Form_Load() override;

  private:
    bool DragDone = false;
    platform::POINTAPI CursorPos;

    void CreateControls();
    void WireEvents();
    // The bitmap set named in "Curset.ini"; false (with a console line) when unusable.
    bool ReadCurrentSetName(std::string& setName);
    bool SetFolderUsable(const std::string& setName);
    void RunDirectDrawTest();
    int32_t DirectDrawPassCount() const;
    bool RunDirectDrawPasses();
    int32_t CountDirectDrawMarks();
    void StopDirectDrawTest(const std::string& doing, const std::string& why);
};
