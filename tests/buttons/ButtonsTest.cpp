#include "dialogs/frmAbout.h"
#include "main/frmMain.h"
#include "platform/Palette.h"
#include "testbed/frmTestBed.h"
#include "tests/dialogs/WindowTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QCursor>
#include <QFile>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

using namespace testsupport;
using namespace windowtest;

namespace {

const platform::Colour kLit = platform::QBColor(9);
const platform::Colour kBlack = 0x000000;

// The main window on a program folder whose current set has no bitmaps, so that a
// software test ends at once.
frmMain& MainWindow() {
    if (!frmMain::IsLoaded()) {
        MakeSet("Empty", {});
        WriteProgramFile("Curset.ini", "Empty\r\n");
        AdoptDetachedProcesses();
    }
    frmMain& main = frmMain::Instance();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
    main.activateWindow();
    return main;
}

void ClickLabel(platform::Label* label) {
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}

void ClickOption(platform::OptionButton* option) {
    QTest::mouseClick(option->Button(), Qt::LeftButton, {}, option->Button()->rect().center());
}

// A sibling tool that notes each start in a file beside it.
void WriteStandInTool(const QString& name, QFileDevice::Permissions permissions) {
    WriteProgramFile(name, "#!/bin/sh\necho started >> \"$(dirname \"$0\")/tool-starts\"\n");
    QFile::setPermissions(ProgramFolder() + name, permissions);
}

int ToolStarts() {
    const std::string starts = ReadFileBytes(ProgramFolder() + "tool-starts");
    return static_cast<int>(std::count(starts.begin(), starts.end(), '\n'));
}

int VisibleWindows() {
    int visible = 0;
    for (const QWidget* window : QApplication::topLevelWidgets())
        visible += window->isVisible() ? 1 : 0;
    return visible;
}

// What the main window shows just inside a label's top-left corner.
QColor ShownInside(frmMain& main, const platform::Label* label) {
    return main.grab().toImage().pixelColor(label->geometry().topLeft() + QPoint(1, 1));
}

} // namespace

TEST(Buttons, BeginTestWithSoftwareRunsTheTestBedAndLeavesQuitFlag) {
    frmMain& main = MainWindow();
    ClickOption(main.opnSoftware);
    ASSERT_TRUE(main.opnSoftware->Value());
    main.QuitFlag = true;
    main.txtConsole->SetText("");
    ClickLabel(main.lblButtons[0]);
    EXPECT_EQ(main.lblScore->Caption(), "0 ArtifactMarks");
    EXPECT_TRUE(Lines(main.txtConsole->Text()).contains("Set corvantis test object successful."));
    EXPECT_TRUE(main.QuitFlag);
    ASSERT_TRUE(Eventually([&] { return !frmTestBed::IsLoaded(); }));
    main.QuitFlag = false;
    ClickOption(main.opnDXTesting);
}

TEST(Buttons, TestingMethodSwitchesTheStrengthFrameAndKeepsTheStrength) {
    frmMain& main = MainWindow();
    ClickOption(main.opnDXTest[2]);
    ASSERT_TRUE(main.opnDXTest[2]->Value());

    ClickOption(main.opnSoftware);
    EXPECT_FALSE(main.Frame2->Enabled());
    ClickOption(main.opnDXTest[0]);
    EXPECT_FALSE(main.opnDXTest[0]->Value()) << "a disabled frame takes no input";
    EXPECT_TRUE(main.opnDXTest[2]->Value()) << "the strength is kept while disabled";

    ClickOption(main.opnDXTesting);
    EXPECT_TRUE(main.Frame2->Enabled());
    EXPECT_TRUE(main.opnDXTest[2]->Value());
    ClickOption(main.opnDXTest[1]);
}

TEST(Buttons, MonitorStartsOnEveryClickAndAMissingOneDoesNothing) {
    frmMain& main = MainWindow();
    MessageBoxWatch boxes;
    struct EndMonitors {
        ~EndMonitors() {
            for (pid_t monitor : ChildrenNamed("TWMonitor"))
                EndAndReap(monitor);
            QFile::remove(ProgramFolder() + "TWMonitor");
        }
    } endMonitors;

    // Missing: no process, no message, no other window.
    const int windowsBefore = VisibleWindows();
    ClickLabel(main.lblButtons[3]);
    PumpFor(300);
    EXPECT_TRUE(ChildrenNamed("TWMonitor").empty());
    EXPECT_TRUE(boxes.Texts().isEmpty());
    EXPECT_EQ(VisibleWindows(), windowsBefore);
    EXPECT_TRUE(main.isVisible());

    // Found without regard to case and without ".exe"; nothing checks whether it runs.
    ASSERT_TRUE(QFile::copy(TW_PROGRAM_DIR "/TWMonitor", ProgramFolder() + "TWMonitor"));
    ClickLabel(main.lblButtons[3]);
    ASSERT_TRUE(Eventually([&] { return ChildrenNamed("TWMonitor").size() == size_t(1); }));
    const pid_t first = ChildrenNamed("TWMonitor").front();
    ASSERT_TRUE(Eventually([&] { return HasVisibleWindow(first); }, 20000))
        << "the first monitor is up";
    ClickLabel(main.lblButtons[3]);
    std::vector<pid_t> monitors = ChildrenNamed("TWMonitor");
    ASSERT_EQ(monitors.size(), size_t(2)) << "the second click starts a second monitor";
    const pid_t second = monitors[0] == first ? monitors[1] : monitors[0];

    // The second copy ends by itself; the first one goes on watching.
    ASSERT_TRUE(Eventually([&] { return HasEnded(second); }, 20000));
    int status = -1;
    waitpid(second, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_FALSE(HasEnded(first));
    EXPECT_TRUE(boxes.Texts().isEmpty());
}

TEST(Buttons, KestrelonStartsOnAnyButtonRelease) {
    frmMain& main = MainWindow();
    WriteStandInTool("Kestrelon.exe",
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::remove(ProgramFolder() + "tool-starts");
    ClickCentreOf(main.opnKestrelon, 3);
    ASSERT_TRUE(Eventually([&] { return ToolStarts() == 1; }));
    EXPECT_FALSE(main.opnKestrelon->Value());
    ClickCentreOf(main.opnKestrelon, 1);
    ASSERT_TRUE(Eventually([&] { return ToolStarts() == 2; }));
    EXPECT_FALSE(main.opnKestrelon->Value()) << "drawn released after the click";
    QFile::remove(ProgramFolder() + "Kestrelon.exe");
}

// The program says which file could not be started and why, and goes on.
TEST(Buttons, KestrelonThatCannotStartIsReported) {
    frmMain& main = MainWindow();
    struct Case {
        bool present;
        const char* why;
    };
    for (const Case& c : {Case{false, "File not found"}, Case{true, "Not an executable"}}) {
        SCOPED_TRACE(c.why);
        QFile::remove(ProgramFolder() + "Kestrelon.exe");
        if (c.present)
            WriteStandInTool("Kestrelon.exe", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        MessageBoxWatch boxes;
        ClickCentreOf(main.opnKestrelon, 1);
        ASSERT_TRUE(Eventually([&] { return boxes.Texts().size() == 1; }));
        EXPECT_TRUE(boxes.Texts()[0].contains("Kestrelon.exe")) << boxes.Texts()[0].toStdString();
        EXPECT_TRUE(boxes.Texts()[0].contains(c.why)) << boxes.Texts()[0].toStdString();
        EXPECT_TRUE(main.isVisible());
        EXPECT_FALSE(main.opnKestrelon->Value());
    }
    QFile::remove(ProgramFolder() + "Kestrelon.exe");
    // Still usable.
    ClickOption(main.opnSoftware);
    EXPECT_FALSE(main.Frame2->Enabled());
    ClickOption(main.opnDXTesting);
}

// The push-style buttons act on a mouse release only: from the keyboard they are only chosen.
TEST(Buttons, PushStyleButtonChosenFromTheKeyboardOpensNothing) {
    frmMain& main = MainWindow();
    main.opnAbout->Button()->setFocus();
    QTest::keyClick(main.opnAbout->Button(), Qt::Key_Space);
    PumpFor(100);
    EXPECT_TRUE(main.opnAbout->Value());
    EXPECT_FALSE(frmAbout::IsLoaded());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    main.opnAbout->SetValue(false);
}

TEST(LookAndFeel, CommandLabelsLightUnderThePointer) {
    frmMain& main = MainWindow();
    auto backStyles = [&main] {
        std::vector<int> styles;
        for (platform::Label* label : main.lblButtons)
            styles.push_back(label->BackStyle());
        return styles;
    };
    PointerToCentreOf(main.lblButtons[0]);
    ASSERT_TRUE(Eventually([&] { return backStyles() == (std::vector<int>{1, 0, 0, 0, 0}); }));
    EXPECT_EQ(ShownInside(main, main.lblButtons[0]), QColor(0xD7, 0xD7, 0xD7));
    // As a press left with the button down leaves it.
    main.lblButtons[0]->SetForeColor(kLit);

    PointerToCentreOf(main.lblButtons[4]);
    ASSERT_TRUE(Eventually([&] { return backStyles() == (std::vector<int>{0, 0, 0, 0, 1}); }));
    EXPECT_EQ(main.lblButtons[0]->ForeColor(), kBlack);
    EXPECT_EQ(ShownInside(main, main.lblButtons[0]), QColor(0xE0, 0xE0, 0xE0));

    // Pressed: light blue; released: black. ("Launch Artifact Monitor" finds no monitor here.)
    PointerToCentreOf(main.lblButtons[3]);
    ASSERT_TRUE(Eventually([&] { return backStyles() == (std::vector<int>{0, 0, 0, 1, 0}); }));
    Xdotool({"mousedown", "1"});
    ASSERT_TRUE(Eventually([&] { return main.lblButtons[3]->ForeColor() == kLit; }));
    Xdotool({"mouseup", "1"});
    ASSERT_TRUE(Eventually([&] { return main.lblButtons[3]->ForeColor() == kBlack; }));

    // Nothing resets the lit label when the pointer leaves them all.
    PointerTo(main.mapToGlobal(QPoint(480, 320)));
    PumpFor(100);
    EXPECT_EQ(backStyles(), (std::vector<int>{0, 0, 0, 1, 0}));
}

TEST(LookAndFeel, OptionButtonsColourTheOneUnderThePointer) {
    frmMain& main = MainWindow();
    PointerToCentreOf(main.opnDXTest[0]);
    ASSERT_TRUE(Eventually([&] { return main.opnDXTest[0]->ForeColor() == kLit; }));
    PointerToCentreOf(main.opnDXTest[2]);
    ASSERT_TRUE(Eventually([&] { return main.opnDXTest[2]->ForeColor() == kLit; }));
    for (size_t i : {0u, 1u, 3u})
        EXPECT_EQ(main.opnDXTest[i]->ForeColor(), platform::QBColor(0)) << i;

    PointerToCentreOf(main.opnSoftware);
    ASSERT_TRUE(Eventually([&] { return main.opnSoftware->ForeColor() == kLit; }));
    EXPECT_EQ(main.opnDXTesting->ForeColor(), kBlack);
    PointerToCentreOf(main.opnDXTesting);
    ASSERT_TRUE(Eventually([&] { return main.opnDXTesting->ForeColor() == kLit; }));
    EXPECT_EQ(main.opnSoftware->ForeColor(), kBlack);
    EXPECT_EQ(main.opnDXTest[2]->ForeColor(), kLit) << "colours stay as the last move left them";
}

// The window follows the cursor at the offset the drag began with, for either button,
// and stays where the release left it.
TEST(LookAndFeel, TitleDragKeepsTheCursorOffset) {
    frmMain& main = MainWindow();
    const QPoint offset(100, 10);
    const std::vector<QPoint> cursorPath = {{400, 260}, {350, 500}, {700, 300}, {260, 120}};
    for (int xButton : {1, 3}) {
        SCOPED_TRACE(xButton);
        main.move(200, 150);
        ASSERT_TRUE(Eventually([&] { return main.pos() == QPoint(200, 150); }));
        PointerTo(main.pos() + offset);

        bool dragging = false;
        int drags = 0;
        const platform::MouseHandler handler = main.lblTitle->MouseDown;
        main.lblTitle->MouseDown = [&](int b, int s, float x, float y) {
            dragging = true;
            ++drags;
            handler(b, s, x, y);
            dragging = false;
        };

        // Steps taken from inside the drag's passes: once the window sits at the cursor
        // less the offset, and has stayed there, the cursor moves on; after the last
        // point the button is released.
        size_t step = 0;
        int settledTicks = 0;
        bool released = false;
        QTimer steps;
        steps.setInterval(20);
        QObject::connect(&steps, &QTimer::timeout, [&] {
            if (!dragging || released)
                return;
            const QPoint expected = QCursor::pos() - offset;
            settledTicks = main.pos() == expected ? settledTicks + 1 : 0;
            if (settledTicks < 3)
                return;
            settledTicks = 0;
            if (step == cursorPath.size()) {
                released = true;
                Xdotool({"mouseup", QString::number(xButton)});
                return;
            }
            QCursor::setPos(cursorPath[step++]);
        });
        steps.start();
        Xdotool({"mousedown", QString::number(xButton)});
        ASSERT_TRUE(Eventually([&] { return released && !dragging; }, 20000));
        steps.stop();
        main.lblTitle->MouseDown = handler;

        EXPECT_EQ(drags, 1);
        EXPECT_EQ(step, cursorPath.size()) << "every point of the path was reached";
        const QPoint last = cursorPath.back() - offset;
        EXPECT_EQ(main.pos(), last);
        PointerTo({600, 600});
        PumpFor(100);
        EXPECT_EQ(main.pos(), last) << "the drag ended with the release";
    }
}
