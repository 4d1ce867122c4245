// The built TWMonitor as its own process on this X display, seen from another X client.

#include "platform/ScreenReader.h"
#include "platform/Shell.h"
#include "platform/WindowActivation.h"
#include "tests/ddraw/ScreenFixtures.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/types.h>
#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using platform::WindowHandle;
using platform::X11Display;
using screentest::SolidWindow;

const char* const kMonitorTitle = "TW Monitor App";
constexpr int32_t kRed = 0x0000FF;

xcb_atom_t Atom(const char* name) {
    xcb_connection_t* connection = X11Display::Current().connection;
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The window the window manager says has the focus.
WindowHandle ActiveWindow() {
    const X11Display& display = X11Display::Current();
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(display.connection,
                               xcb_get_property(display.connection, 0, display.root,
                                                Atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1),
                               nullptr);
    WindowHandle active = 0;
    if (reply && xcb_get_property_value_length(reply) == 4)
        active = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return active;
}

// Screen position of a window's inner area.
QPoint ClientOrigin(WindowHandle window) {
    const X11Display& display = X11Display::Current();
    xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
        display.connection,
        xcb_translate_coordinates(display.connection, static_cast<xcb_window_t>(window),
                                  display.root, 0, 0),
        nullptr);
    const QPoint origin = reply ? QPoint(reply->dst_x, reply->dst_y) : QPoint();
    std::free(reply);
    return origin;
}

// Closes a window as its close box does: through the window manager.
void RequestClose(WindowHandle window) {
    const X11Display& display = X11Display::Current();
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = static_cast<xcb_window_t>(window);
    request.type = Atom("_NET_CLOSE_WINDOW");
    request.data.data32[0] = XCB_CURRENT_TIME;
    request.data.data32[1] = 2;
    xcb_send_event(display.connection, 0, display.root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(display.connection);
}

// Which status colour the screen shows in a rectangle: its text is pure red or pure green.
std::string StatusShown(const QImage& shown) {
    int red = 0;
    int green = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb p = shown.pixel(x, y);
            red += qRed(p) >= 200 && qGreen(p) < 80 && qBlue(p) < 80;
            green += qGreen(p) >= 200 && qRed(p) < 80 && qBlue(p) < 80;
        }
    if (red >= 10 && green == 0)
        return "red";
    if (green >= 10 && red == 0)
        return "green";
    return "neither";
}

class MonitorProgram : public testing::Test {
  protected:
    // A copy of the built program alone in a scratch folder: it needs no file of its own.
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        program = folder.path() + "/TWMonitor";
        ASSERT_TRUE(QFile::copy(TW_MONITOR_EXE, program));
        ASSERT_TRUE(QFile::setPermissions(program, QFile::permissions(TW_MONITOR_EXE)));
        ASSERT_TRUE(platform::FindWindowsByTitle(kMonitorTitle).empty())
            << "another monitor runs on this display";
    }

    void TearDown() override {
        for (auto& process : processes) {
            process->kill();
            process->waitForFinished(5000);
        }
    }

    QProcess& Start() {
        processes.push_back(std::make_unique<QProcess>());
        QProcess& process = *processes.back();
        process.setWorkingDirectory(folder.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, {});
        EXPECT_TRUE(process.waitForStarted(5000));
        return process;
    }

    static std::vector<WindowHandle> MonitorWindows() {
        return platform::FindWindowsByTitle(kMonitorTitle);
    }

    static WindowHandle WaitForMonitorWindow() {
        EXPECT_TRUE(screentest::WaitFor([] { return MonitorWindows().size() == 1; }));
        const std::vector<WindowHandle> windows = MonitorWindows();
        return windows.empty() ? 0 : windows.front();
    }

    // Ended by itself, quietly and successfully.
    static void ExpectEndedQuietly(QProcess& process, int withinMs) {
        ASSERT_TRUE(process.waitForFinished(withinMs)) << "still running";
        const QString output = QString::fromLocal8Bit(process.readAll());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << output.toStdString();
        EXPECT_FALSE(output.contains("Run-time error")) << output.toStdString();
    }

    QTemporaryDir folder;
    QString program;
    std::vector<std::unique_ptr<QProcess>> processes;
};

// The main program's button asks for "TWMONITOR.EXE" in the program folder.
TEST_F(MonitorProgram, StartsUnderTheNameTheMainProgramUses) {
    const int64_t pid = platform::Shell(folder.path().toStdString() + "/TWMONITOR.EXE");
    ASSERT_GT(pid, 0);
    const WindowHandle window = WaitForMonitorWindow();
    EXPECT_NE(window, 0u);
    RequestClose(window);
    const bool ended = screentest::WaitFor([&] { return ::kill(static_cast<pid_t>(pid), 0) != 0; });
    if (!ended)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    EXPECT_TRUE(ended);
}

TEST_F(MonitorProgram, SecondCopyEndsAtOnceWithoutAWindowAndTheFirstGoesOn) {
    QProcess& first = Start();
    const WindowHandle window = WaitForMonitorWindow();
    ASSERT_NE(window, 0u);

    QProcess& second = Start();
    ExpectEndedQuietly(second, 10000);
    EXPECT_EQ(MonitorWindows(), std::vector<WindowHandle>{window});
    EXPECT_EQ(first.state(), QProcess::Running);

    // The first still moves its picture.
    const QRect area(ClientOrigin(window), QSize(133, 88));
    const QImage before = screentest::QtScreenImage(area);
    EXPECT_TRUE(screentest::WaitFor([&] { return screentest::QtScreenImage(area) != before; }));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(MonitorProgram, ClosingWithoutATarnwickWindowEndsWithoutAMessage) {
    ASSERT_TRUE(platform::FindWindowsByTitle("Tarnwick 2.1").empty());
    QProcess& monitor = Start();
    const WindowHandle window = WaitForMonitorWindow();
    ASSERT_NE(window, 0u);
    RequestClose(window);
    ExpectEndedQuietly(monitor, 10000);
    EXPECT_TRUE(MonitorWindows().empty());
}

TEST_F(MonitorProgram, ClosingActivatesTheTarnwickWindow) {
    QWidget tarnwick;
    tarnwick.setWindowTitle("Tarnwick 2.1");
    tarnwick.setGeometry(40, 40, 240, 120);
    tarnwick.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tarnwick));
    // Focused after it, so that the window manager would hand the focus back here,
    // not to the Tarnwick window, when the monitor goes.
    QWidget other;
    other.setWindowTitle("Another program");
    other.setGeometry(320, 40, 240, 120);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    other.activateWindow();
    ASSERT_TRUE(screentest::WaitFor([&] { return ActiveWindow() == other.winId(); }));

    QProcess& monitor = Start();
    const WindowHandle window = WaitForMonitorWindow();
    ASSERT_NE(window, 0u);
    ASSERT_NE(ActiveWindow(), static_cast<WindowHandle>(tarnwick.winId()));
    RequestClose(window);
    ExpectEndedQuietly(monitor, 10000);
    EXPECT_TRUE(screentest::WaitFor([&] { return ActiveWindow() == tarnwick.winId(); }));
}

// The whole program: another X client's window over its picture shows in a screenshot as
// the red status, and the green comes back once it is gone.
TEST_F(MonitorProgram, CoveredPictureShowsTheRedStatusOnTheScreen) {
    QProcess& monitor = Start();
    const WindowHandle window = WaitForMonitorWindow();
    ASSERT_NE(window, 0u);
    const QPoint origin = ClientOrigin(window);
    const QRect status(origin + QPoint(0, 88), QSize(129, 17));
    ASSERT_TRUE(screentest::WaitFor(
        [&] { return StatusShown(screentest::QtScreenImage(status)) == "green"; }));

    // Over the picture wherever it stands in its walk.
    auto cover = std::make_unique<SolidWindow>(QRect(origin + QPoint(30, 25), QSize(50, 30)), kRed);
    cover->setWindowFlags(cover->windowFlags() | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus);
    ASSERT_TRUE(cover->ShowOnScreen());
    EXPECT_TRUE(screentest::WaitFor(
        [&] { return StatusShown(screentest::QtScreenImage(status)) == "red"; }));
    const QImage screenshot = screentest::QtScreenImage(QRect(origin, QSize(133, 148)));
    EXPECT_EQ(StatusShown(screenshot.copy(0, 88, 129, 17)), "red");
    screenshot.save(QString(TW_SCREENSHOT_DIR) + "/monitor-artifacts-found.png");

    cover.reset();
    EXPECT_TRUE(screentest::WaitFor(
        [&] { return StatusShown(screentest::QtScreenImage(status)) == "green"; }));
    EXPECT_EQ(monitor.state(), QProcess::Running);
}

} // namespace
