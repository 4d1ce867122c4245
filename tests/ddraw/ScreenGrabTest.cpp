#include "platform/Errors.h"
#include "platform/ScreenReader.h"
#include "tests/ddraw/ScreenFixtures.h"

#include <gtest/gtest.h>

using platform::ScreenGrab;
using screentest::SolidWindow;

namespace {

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kBlue = 0xFF0000;

QSize ScreenSize() {
    return QGuiApplication::primaryScreen()->geometry().size();
}

} // namespace

TEST(ScreenGrab, AgreesWithQtsScreenGrabAroundAWindow) {
    SolidWindow window({400, 300, 50, 40}, kRed);
    ASSERT_TRUE(window.ShowOnScreen());

    const QRect area(390, 290, 70, 60);
    const ScreenGrab grab = ScreenGrab::Take(area.x(), area.y(), area.width(), area.height());
    const QImage expected = screentest::QtScreenImage(area);
    int red = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const int32_t pixel = grab.Pixel(x, y);
            ASSERT_EQ(pixel, screentest::FromQRgb(expected.pixel(x - area.x(), y - area.y())))
                << "at " << x << ", " << y;
            ASSERT_EQ(grab.Format().FromColor(pixel), grab.RawPixel(x, y));
            red += pixel == kRed;
        }
    EXPECT_EQ(red, 50 * 40);
    EXPECT_EQ(grab.Pixel(400, 300), kRed);
    EXPECT_EQ(grab.Pixel(449, 339), kRed);
}

TEST(ScreenGrab, ReadsMinusOneOffTheScreenAndOutsideTheRectangle) {
    const QSize screen = ScreenSize();
    struct Case {
        QRect rect;
        QPoint probe;
        bool onScreen;
    };
    const Case cases[] = {
        {{-10, -5, 30, 20}, {0, 0}, true},
        {{-10, -5, 30, 20}, {19, 14}, true},
        {{-10, -5, 30, 20}, {-1, 0}, false},
        {{-10, -5, 30, 20}, {0, -1}, false},
        {{-10, -5, 30, 20}, {20, 0}, false},
        {{screen.width() - 10, screen.height() - 4, 20, 20},
         {screen.width() - 1, screen.height() - 1},
         true},
        {{screen.width() - 10, screen.height() - 4, 20, 20},
         {screen.width(), screen.height() - 1},
         false},
        {{screen.width() - 10, screen.height() - 4, 20, 20},
         {screen.width() - 1, screen.height()},
         false},
        {{screen.width() + 100, 0, 5, 5}, {screen.width() + 100, 0}, false},
        {{10, 10, 0, 0}, {10, 10}, false},
    };
    for (const Case& c : cases) {
        const ScreenGrab grab =
            ScreenGrab::Take(c.rect.x(), c.rect.y(), c.rect.width(), c.rect.height());
        const int32_t pixel = grab.Pixel(c.probe.x(), c.probe.y());
        if (c.onScreen)
            EXPECT_EQ(pixel, screentest::QtScreenPixel(c.probe.x(), c.probe.y()))
                << c.probe.x() << ", " << c.probe.y();
        else
            EXPECT_EQ(pixel, -1) << c.probe.x() << ", " << c.probe.y();
    }
}

TEST(ScreenGrab, RefusesANegativeSize) {
    try {
        ScreenGrab::Take(0, 0, -1, 5);
        FAIL() << "no failure";
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.Number(), platform::ErrInvalidProcedureCall);
        EXPECT_NE(error.Description().find("-1 x 5"), std::string::npos) << error.what();
    }
}

// A grab is ordered after the requests sent before it, so a move of a native child window
// shows without pumping events.
TEST(ScreenGrab, SeesAMoveSentJustBefore) {
    SolidWindow window({500, 500, 200, 100}, kBlue);
    SolidWindow child({10, 10, 20, 20}, kRed, &window);
    child.setAttribute(Qt::WA_NativeWindow);
    ASSERT_TRUE(window.ShowOnScreen());
    ASSERT_TRUE(screentest::WaitFor(
        [] { return ScreenGrab::Take(510, 510, 20, 20).Pixel(519, 519) == kRed; }));

    child.move(150, 60);
    const ScreenGrab grab = ScreenGrab::Take(650, 560, 20, 20);
    EXPECT_EQ(grab.Pixel(650, 560), kRed);
    EXPECT_EQ(grab.Pixel(669, 579), kRed);
}

TEST(ScreenGrab, ChildWithoutX11) {
    if (!screentest::InChildRun())
        GTEST_SKIP() << "runs in a child process";
    try {
        ScreenGrab::Take(0, 0, 1, 1);
        FAIL() << "no failure";
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.Number(), platform::ErrAutomation);
        EXPECT_NE(error.Description().find("no X11 connection"), std::string::npos) << error.what();
    }
}

TEST(ScreenGrab, FailsWithoutAnX11Connection) {
    QString output;
    EXPECT_TRUE(screentest::RunChildTest("ScreenGrab.ChildWithoutX11",
                                         {"QT_QPA_PLATFORM=offscreen"}, &output))
        << output.toStdString();
}
