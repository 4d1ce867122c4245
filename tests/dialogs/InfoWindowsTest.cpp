#include "dialogs/frmAbout.h"
#include "dialogs/frmChat.h"
#include "dialogs/frmValid.h"
#include "main/frmMain.h"
#include "tests/dialogs/WindowTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>

using namespace testsupport;
using namespace windowtest;

namespace {

frmMain& MainWindow() {
    if (!frmMain::IsLoaded()) {
        MakeSet("Mine", {});
        WriteProgramFile("Curset.ini", "Mine\r\n");
    }
    frmMain& main = frmMain::Instance();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
    return main;
}

void ClickOption(platform::OptionButton* option) {
    QTest::mouseClick(option->Button(), Qt::LeftButton, {}, option->Button()->rect().center());
}

// Runs `open`, which shows a modal window and returns when it closes; `whileOpen` runs
// once the window is up and must close it. A window left open is hidden after a while,
// so that a failing test ends.
void WithModal(const std::function<void()>& open, const std::function<QWidget*()>& window,
               const std::function<void(QWidget&)>& whileOpen) {
    bool ran = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* shown = window();
        if (ran || !shown || !shown->isVisible() || QApplication::activeModalWidget() != shown)
            return;
        ran = true;
        whileOpen(*shown);
    });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    QObject::connect(&failsafe, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->hide();
    });
    poll.start();
    failsafe.start(30000);
    open();
    EXPECT_TRUE(ran) << "the modal window never came up";
}

bool LibraryLoaded(const char* name) {
    return ReadFileBytes("/proc/self/maps").find(name) != std::string::npos;
}

bool Pressed(frmMain& main) {
    return main.opnAbout->Value() || main.opnValid->Value() || main.opnKestrelon->Value();
}

void ExpectBlack(const QImage& image, const QPoint& at) {
    EXPECT_EQ(image.pixelColor(at), QColor(Qt::black)) << at.x() << "," << at.y();
}

} // namespace

// Runs first: nothing of the web engine is in the process before a chat window opens.
TEST(Chat, OpensAMissingPageAndIsBroughtForwardWithoutReloading) {
    frmMain& main = MainWindow();
    EXPECT_FALSE(LibraryLoaded("libtw_webview.so"));
    EXPECT_FALSE(LibraryLoaded("libQt6WebEngineCore"));

    WriteProgramFile("chat.htm", nullptr);
    QTest::mouseClick(main.lblButtons[1], Qt::LeftButton, {}, main.lblButtons[1]->rect().center());
    ASSERT_TRUE(frmChat::IsLoaded());
    frmChat& chat = frmChat::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chat));
    EXPECT_TRUE(LibraryLoaded("libtw_webview.so"));
    EXPECT_EQ(chat.Caption(), "Tarnwick Chat");
    EXPECT_EQ(chat.size(), QSize(569, 329));
    EXPECT_EQ(chat.wbChat->geometry(), chat.rect()) << "the view fills the window";
    ASSERT_TRUE(Eventually([&] { return chat.wbChat->LoadsFinished() == 1; }, 60000));
    EXPECT_EQ(QUrl(QString::fromStdString(chat.wbChat->LocationURL())).toLocalFile(),
              ProgramFolder() + "chat.htm");
    EXPECT_EQ(chat.wbChat->LoadsSucceeded(), 0);

    // Shown again while open: brought forward, not loaded again.
    main.activateWindow();
    QTest::mouseClick(main.lblButtons[1], Qt::LeftButton, {}, main.lblButtons[1]->rect().center());
    EXPECT_EQ(&frmChat::Instance(), &chat);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&chat));
    PumpFor(500);
    EXPECT_EQ(chat.wbChat->Navigations(), 1);
    EXPECT_EQ(chat.wbChat->LoadsStarted(), 1);

    // Closed, it loads the page anew on the next opening.
    chat.close();
    EXPECT_FALSE(frmChat::IsLoaded());
    WriteProgramFile("chat.htm", "<html><body>Chat</body></html>");
    QTest::mouseClick(main.lblButtons[1], Qt::LeftButton, {}, main.lblButtons[1]->rect().center());
    frmChat& again = frmChat::Instance();
    ASSERT_TRUE(Eventually([&] { return again.wbChat->LoadsFinished() == 1; }, 60000));
    EXPECT_EQ(again.wbChat->LoadsSucceeded(), 1);
    again.close();
}

TEST(About, BorderlessWithItsFrameAndEnterActsAsOk) {
    frmMain& main = MainWindow();
    // Once with Enter, once with the button: each opening builds the window anew.
    for (bool enter : {true, false}) {
        SCOPED_TRACE(enter ? "Enter" : "OK");
        WithModal(
            [&] { ClickOption(main.opnAbout); },
            []() -> QWidget* { return frmAbout::IsLoaded() ? &frmAbout::Instance() : nullptr; },
            [&](QWidget& window) {
                auto& about = static_cast<frmAbout&>(window);
                EXPECT_FALSE(Pressed(main)) << "drawn released while the window is open";
                EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
                EXPECT_EQ(about.windowFlags() & Qt::WindowType_Mask, Qt::Tool)
                    << "no taskbar button";
                EXPECT_EQ(about.size(), QSize(305, 120));
                const QRect screen = QGuiApplication::primaryScreen()->geometry();
                EXPECT_NEAR(about.geometry().center().x(), screen.center().x(), 1);
                EXPECT_NEAR(about.geometry().center().y(), screen.center().y(), 1);
                EXPECT_TRUE(about.Label1->Caption().starts_with("Tarnwick 5 RELEASE 2"));
                EXPECT_EQ(about.Image1->pixmap().size(), QSize(32, 32));
                EXPECT_TRUE(about.cmdOk->isDefault());
                EXPECT_GT(about.children().indexOf(about.lblTitle),
                          about.children().indexOf(about.lblTitleShadow))
                    << "the title lies over its shadow";

                const QImage shown = about.grab().toImage();
                for (QPoint corner : {QPoint(0, 0), QPoint(304, 0), QPoint(0, 119),
                                      QPoint(304, 119), QPoint(152, 119), QPoint(304, 60)})
                    ExpectBlack(shown, corner);
                EXPECT_EQ(shown.pixelColor(1, 1), QColor(0xE0, 0xE0, 0xE0));
                EXPECT_EQ(shown.pixelColor(303, 118), QColor(0xE0, 0xE0, 0xE0));

                if (enter) {
                    QWidget* focus = QApplication::focusWidget();
                    QTest::keyClick(focus ? focus : &about, Qt::Key_Return);
                } else {
                    QTest::mouseClick(about.cmdOk, Qt::LeftButton);
                }
            });
        EXPECT_FALSE(frmAbout::IsLoaded());
        EXPECT_FALSE(Pressed(main));
    }
}

TEST(About, GoChatOpensTheChatWindowBesideIt) {
    frmMain& main = MainWindow();
    WriteProgramFile("chat.htm", "<html><body>Chat</body></html>");
    WithModal([&] { ClickOption(main.opnAbout); },
              []() -> QWidget* { return frmAbout::IsLoaded() ? &frmAbout::Instance() : nullptr; },
              [](QWidget& window) {
                  auto& about = static_cast<frmAbout&>(window);
                  QTest::mouseClick(about.cmdGoChat, Qt::LeftButton);
                  EXPECT_TRUE(frmChat::IsLoaded());
                  EXPECT_TRUE(frmChat::IsLoaded() && frmChat::Instance().isVisible());
                  EXPECT_TRUE(about.isVisible()) << "the About window stays open";
                  QTest::mouseClick(about.cmdOk, Qt::LeftButton);
              });
    EXPECT_FALSE(frmAbout::IsLoaded());
    ASSERT_TRUE(frmChat::IsLoaded());
    frmChat::Instance().close();
}

// The guide is shown byte for byte, lines as lines, editable and never saved.
TEST(Guide, ShowsTheFileAsStored) {
    frmMain& main = MainWindow();
    std::string guide = "Taking valid measurements\r\n\r\nTab\there, a high byte \xE9.\r\n";
    guide += std::string(300, 'w') + "\r\n";
    for (int i = 0; i < 40; ++i)
        guide += "Line " + std::to_string(i) + "\r\n";
    WriteFileBytes(ProgramFolder() + "twmeasure.txt", guide);

    WithModal([&] { ClickOption(main.opnValid); },
              []() -> QWidget* { return frmValid::IsLoaded() ? &frmValid::Instance() : nullptr; },
              [&](QWidget& window) {
                  auto& valid = static_cast<frmValid&>(window);
                  EXPECT_FALSE(main.opnValid->Value());
                  EXPECT_EQ(valid.Caption(), "Taking Valid Measurements");
                  EXPECT_EQ(valid.size(), QSize(369, 300));
                  EXPECT_EQ(valid.txtValid->Text(), guide);
                  QString shown = QString::fromLatin1(guide);
                  shown.replace("\r\n", "\n");
                  EXPECT_EQ(valid.txtValid->toPlainText(), shown);
                  EXPECT_EQ(valid.txtValid->document()->blockCount(), 45);
                  EXPECT_EQ(valid.txtValid->geometry(), valid.rect()) << "the box fills the window";
                  // Text beyond the box is reached with the scroll bars.
                  EXPECT_TRUE(Eventually([&] {
                      return valid.txtValid->horizontalScrollBar()->maximum() > 0 &&
                             valid.txtValid->verticalScrollBar()->maximum() > 0;
                  }));
                  EXPECT_TRUE(valid.txtValid->horizontalScrollBar()->isVisible());
                  EXPECT_TRUE(valid.txtValid->verticalScrollBar()->isVisible());
                  EXPECT_FALSE(valid.txtValid->Locked());

                  valid.txtValid->setFocus();
                  QTest::keyClicks(valid.txtValid, "edited ");
                  EXPECT_NE(valid.txtValid->Text(), guide);
                  valid.close();
              });
    EXPECT_FALSE(frmValid::IsLoaded());
    EXPECT_EQ(ReadFileBytes(ProgramFolder() + "twmeasure.txt"), guide) << "never saved";

    // Each opening reads the file again.
    WriteFileBytes(ProgramFolder() + "twmeasure.txt", "Second\r\n");
    WithModal([&] { ClickOption(main.opnValid); },
              []() -> QWidget* { return frmValid::IsLoaded() ? &frmValid::Instance() : nullptr; },
              [](QWidget& window) {
                  auto& valid = static_cast<frmValid&>(window);
                  EXPECT_EQ(valid.txtValid->Text(), "Second\r\n");
                  valid.close();
              });
}

// A guide that cannot be read is reported by name and reason; the program goes on.
TEST(Guide, UnreadableGuideIsReported) {
    frmMain& main = MainWindow();
    struct Case {
        bool folder; // a folder where the file should be
        const char* why;
    };
    for (const Case& c : {Case{false, "File not found"}, Case{true, "Not a file"}}) {
        SCOPED_TRACE(c.why);
        QFile::remove(ProgramFolder() + "twmeasure.txt");
        QDir(ProgramFolder()).rmdir("twmeasure.txt");
        if (c.folder)
            QDir(ProgramFolder()).mkdir("twmeasure.txt");
        MessageBoxWatch boxes;
        ClickOption(main.opnValid);
        ASSERT_EQ(boxes.Texts().size(), 1);
        EXPECT_TRUE(boxes.Texts()[0].contains("twmeasure.txt")) << boxes.Texts()[0].toStdString();
        EXPECT_TRUE(boxes.Texts()[0].contains(c.why)) << boxes.Texts()[0].toStdString();
        EXPECT_FALSE(frmValid::IsLoaded());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(main.isVisible());
        EXPECT_FALSE(main.opnValid->Value());
    }
    QDir(ProgramFolder()).rmdir("twmeasure.txt");
}
