#include "main/frmMain.h"

#include "main/frmDXTestBed.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

using namespace platform;

namespace {

WindowStyle MainWindowStyle() {
    WindowStyle style;
    style.border = BorderStyle::FixedDialog;
    style.controlBox = false;
    style.showInTaskbar = true;
    style.startPosition = StartPosition::CenterScreen;
    style.clientWidthTwips = 7425;
    style.clientHeightTwips = 5010;
    style.backColor = 0xE0E0E0;
    return style;
}

const FontSpec kTitleFont{"Arial", 15.75, false, true};
const FontSpec kItalicFont{"Arial", 8.25, false, true};
const FontSpec kButtonFont{"Arial", 8.25, false, false};
const FontSpec kBoldButtonFont{"Arial", 8.25, true, false};
const FontSpec kScoreFont{"Arial", 12, false, true};
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kSilver = 0xC0C0C0;
constexpr Colour kFace = 0xE0E0E0;

Label* TransparentLabel(QWidget* parent, const std::string& text, int left, int top, int width,
                        int height) {
    auto* label = new Label(parent, text, left, top, width, height);
    label->SetBackStyle(0);
    return label;
}

// A set name must stay a folder inside the program folder.
bool StaysInProgramFolder(const std::string& setName) {
    if (!setName.empty() && setName.front() == '/')
        return false;
    size_t start = 0;
    while (start <= setName.size()) {
        const size_t end = std::min(setName.find('/', start), setName.size());
        if (setName.compare(start, end - start, "..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

frmMain::frmMain() : FormOf(MainWindowStyle()) {
    SetIcon(":/tw/tarnwick5-32.png", ":/tw/tarnwick5-16.png");
    CreateControls();
    WireEvents();
}

void frmMain::CreateControls() {
    AddLine(3840, 4200, 7320, 4200, kSilver, 2);
    AddLine(3840, 4200, 7320, 4200, 0xFFFFFF, 1);
    AddLine(3840, 4800, 7320, 4800, kSilver, 2);
    AddLine(3840, 4800, 7320, 4800, 0xFFFFFF, 1);
    AddLine(3720, 120, 3720, 4920, kSilver, 2);
    AddLine(3720, 120, 3720, 4920, 0xFFFFFF, 1);

    lblTitleShadow = TransparentLabel(this, "Tarnwick 5", 240, 240, 3255, 615);
    lblTitleShadow->SetForeColor(kSilver);
    lblTitleShadow->SetFont(kTitleFont);
    lblTitle = TransparentLabel(this, "Tarnwick 5", 120, 120, 7215, 375);
    lblTitle->SetForeColor(kBlue);
    lblTitle->SetFont(kTitleFont);
    lblDescription = TransparentLabel(
        this,
        "Using the Corvantis 2.0 Engine:  The FIRST program designed for testing video "
        "artifacting.",
        120, 600, 3735, 495);
    lblDescription->SetFont(kItalicFont);

    const std::array<const char*, 5> captions = {"Begin Test", "Begin Chat Room",
                                                 "Select Software Test Bitmap Set...",
                                                 "Launch Artifact Monitor", "E X I T"};
    for (size_t i = 0; i < lblButtons.size(); ++i) {
        Label* button =
            TransparentLabel(this, captions[i], 120, 1080 + 240 * static_cast<int>(i), 3495, 255);
        button->SetAlignment(Alignment::Center);
        button->SetBackColor(0xD7D7D7);
        button->SetForeColor(vbBlack);
        button->SetFont(i == 0 ? kBoldButtonFont : kButtonFont);
        lblButtons[i] = button;
    }

    Frame1 = new Frame(this, "Testing Method:", 120, 2400, 3495, 615);
    Frame1->SetBackColor(kFace);
    Frame1->SetForeColor(kBlue);
    opnSoftware = new OptionButton(Frame1, "Software Testing", 120, 240, 1695, 255);
    opnSoftware->SetBackColor(kFace);
    opnDXTesting = new OptionButton(Frame1, "DirectX7 Testing", 1800, 240, 1575, 255);
    opnDXTesting->SetBackColor(kFace);
    opnDXTesting->SetValue(true);

    lblMessagesLabel = TransparentLabel(this, "Messages:", 120, 3120, 1455, 255);
    txtConsole = new TextBox(this, 120, 3360, 3495, 1575, TextBox::ScrollBars::Vertical);
    txtConsole->SetBackColor(kFace);
    txtConsole->SetForeColor(kBlue);
    txtConsole->SetFont(FontSpec{"Arial", 8.25, false, false});

    Frame2 = new Frame(this, "DirectX Testing Strength:", 4080, 240, 3015, 2295);
    Frame2->SetBackColor(kFace);
    Frame2->SetForeColor(kBlue);
    lblIntensiveDesc = TransparentLabel(
        Frame2, "Note: The more intensive the test, the longer it lasts.", 120, 240, 2895, 495);
    lblIntensiveDesc->SetFont(kItalicFont);
    const std::array<const char*, 4> strengths = {"Weak", "Average", "Intense", "-=[ Hardcore ]=-"};
    for (size_t i = 0; i < opnDXTest.size(); ++i) {
        opnDXTest[i] = new OptionButton(Frame2, strengths[i], 120, 720 + 360 * static_cast<int>(i),
                                        2775, 375, OptionButton::Style::Graphical);
        opnDXTest[i]->SetBackColor(kFace);
    }
    opnDXTest[1]->SetValue(true);

    auto pushButton = [this](const char* caption, int top) {
        auto* button =
            new OptionButton(this, caption, 4080, top, 3015, 375, OptionButton::Style::Graphical);
        button->SetBackColor(kFace);
        return button;
    };
    opnAbout = pushButton("About Tarnwick...", 2760);
    opnKestrelon = pushButton("Launch Kestrelon (CPU stability)", 3120);
    opnValid = pushButton("How to take valid measurements...", 3480);

    Label1 = TransparentLabel(this, "Your Score:", 3840, 3960, 2055, 255);
    lblScoreShadow = TransparentLabel(this, "Test not run", 4080, 4440, 3255, 255);
    lblScoreShadow->SetAlignment(Alignment::Center);
    lblScoreShadow->SetForeColor(kSilver);
    lblScoreShadow->SetFont(kScoreFont);
    lblScore = TransparentLabel(this, "Test not run", 3840, 4320, 3495, 375);
    lblScore->SetAlignment(Alignment::Center);
    lblScore->SetForeColor(kBlue);
    lblScore->SetFont(kScoreFont);
}

void frmMain::WireEvents() {
    for (int i = 0; i < static_cast<int>(lblButtons.size()); ++i) {
        Label* button = lblButtons[static_cast<size_t>(i)];
        button->Click = [this, i] { lblButtons_Click(i); };
        button->MouseMove = [this, i](int b, int s, float x, float y) {
            lblButtons_MouseMove(i, b, s, x, y);
        };
        button->MouseDown = [this, i](int b, int s, float x, float y) {
            lblButtons_MouseDown(i, b, s, x, y);
        };
        button->MouseUp = [this, i](int b, int s, float x, float y) {
            lblButtons_MouseUp(i, b, s, x, y);
        };
    }
    for (int i = 0; i < static_cast<int>(opnDXTest.size()); ++i)
        opnDXTest[static_cast<size_t>(i)]->MouseMove = [this, i](int b, int s, float x, float y) {
            opnDXTest_MouseMove(i, b, s, x, y);
        };
    opnDXTesting->Click = [this] { opnDXTesting_Click(); };
    opnSoftware->Click = [this] { opnSoftware_Click(); };
    opnDXTesting->MouseMove = [this](int b, int s, float x, float y) {
        opnDXTesting_MouseMove(b, s, x, y);
    };
    opnSoftware->MouseMove = [this](int b, int s, float x, float y) {
        opnSoftware_MouseMove(b, s, x, y);
    };
    opnAbout->MouseUp = [this](int b, int s, float x, float y) { opnAbout_MouseUp(b, s, x, y); };
    opnValid->MouseUp = [this](int b, int s, float x, float y) { opnValid_MouseUp(b, s, x, y); };
    opnKestrelon->MouseUp = [this](int b, int s, float x, float y) {
        opnKestrelon_MouseUp(b, s, x, y);
    };
    lblTitle->MouseDown = [this](int b, int s, float x, float y) {
        lblTitle_MouseDown(b, s, x, y);
    };
    lblTitle->MouseUp = [this](int b, int s, float x, float y) { lblTitle_MouseUp(b, s, x, y); };
}

void frmMain::Form_Load() {
    SetAutoRedraw(true);
    SetScaleMode(vbPixels);
    Show();
    DoEvents();

    Corvantis = std::make_unique<clsCorvantis>();
    Corvantis->SetDXTestBed(&frmDXTestBed::Instance());
    std::string directXFailure;
    try {
        Corvantis->DirectX_Init();
    } catch (const RuntimeError& error) {
        directXFailure = error.Description();
    }
    Corvantis->SetConsoleObject(txtConsole);
    if (!directXFailure.empty())
        Corvantis->ConsoleTextAdd("DirectX 7 virtual surfaces could not be created: " +
                                  directXFailure);

    std::string setName;
    if (!ReadCurrentSetName(setName) || !SetFolderUsable(setName)) {
        BitmapSet = setName;
        return;
    }
    File1.SetPath(Corvantis->GetPath() + setName);
    File1.SetPattern("*.bmp");
    const int count = File1.ListCount();
    for (int i = 0; i < count; ++i)
        Corvantis->AddBitmap(Corvantis->GetPath() + setName + "/" + File1.List(i));
    BitmapSet = setName;
    Corvantis->ConsoleTextAdd("Bitmap set: " + setName);
}

bool frmMain::ReadCurrentSetName(std::string& setName) {
    const std::string file = Corvantis->GetPath() + "Curset.ini";
    try {
        TextFile::Open(file, TextFile::Mode::Input);
        const bool empty = TextFile::Lof() == 0;
        if (!empty)
            setName = TextFile::Input();
        TextFile::Close();
        if (empty) {
            Corvantis->ConsoleTextAdd(
                "Curset.ini is empty: no bitmap set chosen, no bitmaps loaded.");
            return false;
        }
        return true;
    } catch (const RuntimeError& error) {
        TextFile::Close();
        Corvantis->ConsoleTextAdd("Curset.ini could not be read (" + error.Description() +
                                  "): no bitmaps loaded.");
        return false;
    }
}

bool frmMain::SetFolderUsable(const std::string& setName) {
    if (!StaysInProgramFolder(setName)) {
        Corvantis->ConsoleTextAdd("Bitmap set \"" + setName +
                                  "\" refused: a set must be a folder inside the program "
                                  "folder. No bitmaps loaded.");
        return false;
    }
    if (!FolderExists(Corvantis->GetPath() + setName)) {
        Corvantis->ConsoleTextAdd("Bitmap set folder \"" + setName +
                                  "\" not found in the program folder. No bitmaps loaded.");
        return false;
    }
    return true;
}

void frmMain::RunFormLoad() {
    Form_Load();
}

void frmMain::SetScore(const std::string& Inp) {
    lblScoreShadow->SetCaption(Inp);
    lblScore->SetCaption(Inp);
}
