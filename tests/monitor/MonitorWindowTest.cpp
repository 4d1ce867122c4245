// The monitor's window in this process, checking what the real screen shows.

#include "monitor/frmMain.h"
#include "tests/ddraw/ScreenFixtures.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace monitor {

// Each test gets a fresh window as the program makes it at start (closing one would end
// the test program), and reads the table the window keeps.
struct MonitorInternals {
    static frmMain* Load() {
        auto* window = new frmMain;
        window->Form_Load();
        return window;
    }
    static const ColourTable& ReferencePixels(const frmMain& window) {
        return window.ReferencePixels;
    }
};

} // namespace monitor

namespace {

using monitor::frmMain;
using monitor::MonitorInternals;
using screentest::SolidWindow;

constexpr platform::Colour kRed = 0x0000FF;
constexpr platform::Colour kGreen = 0x00FF00;
constexpr int kPictureWidth = 113;
constexpr int kPictureHeight = 76;

class MonitorWindow : public testing::Test {
  protected:
    // Loads and shows the window; with `ticking` false the test gives the ticks itself.
    void Open(bool ticking) {
        // The window would end this whole program, silently, with a copy running.
        ASSERT_FALSE(platform::AnotherInstanceRunning("TWMonitor"))
            << "a monitor runs on this display";
        sinceLoad.start();
        window.reset(MonitorInternals::Load());
        if (!ticking)
            window->Timer1.SetEnabled(false);
        window->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(screentest::WaitFor([this] { return PictureOnScreen(); }));
    }

    // The screen shows the picture where pctMonitor stands.
    bool PictureOnScreen() const {
        const platform::PictureBox& box = *window->pctMonitor;
        const QImage shown = screentest::QtScreenImage({box.mapToGlobal(QPoint(0, 0)), box.size()});
        return shown.convertToFormat(QImage::Format_RGB32) == *box.GetPicture();
    }

    void Tick() { window->Timer1_Timer(); }

    QPoint Offset() const { return window->pctMonitor->pos(); }

    // The status as the label shows it: caption and colour must agree.
    std::string Status() const {
        const std::string caption = window->lblEnDis->Caption();
        const platform::Colour colour = window->lblEnDis->ForeColor();
        if (caption == "No artifacts detected." && colour == kGreen)
            return "green";
        if (caption == "ARTIFACTS FOUND!" && colour == kRed)
            return "red";
        return "mixed: " + caption + " / " + std::to_string(colour);
    }

    // Screen rectangle of part of pctMonitor's picture once it stands at `offset`.
    QRect OnPictureAt(int offset, const QRect& inPicture) const {
        const QPoint client = window->mapToGlobal(QPoint(0, 0));
        return inPicture.translated(client + QPoint(offset, offset));
    }

    // A window of another colour over the picture, above the monitor.
    std::unique_ptr<SolidWindow> Cover(const QRect& screenRect) {
        auto cover = std::make_unique<SolidWindow>(screenRect, kRed);
        cover->setWindowFlags(cover->windowFlags() | Qt::WindowStaysOnTopHint |
                              Qt::WindowDoesNotAcceptFocus);
        EXPECT_TRUE(cover->ShowOnScreen());
        return cover;
    }

    // Ticks until a tick shows green again, pumping events in between for repaints.
    bool LaterTickTurnsGreen() {
        return QTest::qWaitFor(
            [this] {
                Tick();
                return Status() == "green";
            },
            5000);
    }

    QElapsedTimer sinceLoad;
    std::unique_ptr<frmMain> window;
};

TEST_F(MonitorWindow, HasItsDesignedLook) {
    Open(false);
    EXPECT_EQ(window->Caption(), "TW Monitor App");
    EXPECT_EQ(window->size(), QSize(133, 148));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::black));
    const QList<QSize> iconSizes = window->windowIcon().availableSizes();
    EXPECT_TRUE(iconSizes.contains(QSize(32, 32)) && iconSizes.contains(QSize(16, 16)));

    EXPECT_EQ(window->pctSource->geometry(), QRect(112, 0, kPictureWidth, kPictureHeight));
    EXPECT_FALSE(window->pctSource->isVisible());
    EXPECT_TRUE(window->pctSource->AutoRedraw());
    EXPECT_EQ(window->pctMonitor->geometry(), QRect(0, 0, kPictureWidth, kPictureHeight));
    EXPECT_TRUE(window->pctMonitor->isVisible());
    EXPECT_FALSE(window->pctMonitor->AutoRedraw());
    EXPECT_EQ(window->pctMonitor->ScaleWidth(), kPictureWidth);
    EXPECT_EQ(window->pctMonitor->ScaleHeight(), kPictureHeight);
    EXPECT_EQ(*window->pctMonitor->GetPicture(), *window->pctSource->GetPicture());

    EXPECT_EQ(window->Timer1.Interval(), 700);

    const struct {
        platform::Label* label;
        QRect geometry;
        std::string caption;
        platform::Colour colour;
        Qt::Alignment alignment;
    } labels[] = {
        {window->lblWarning,
         {8, 104, 121, 41},
         "Do not move this window off-screen (artifacts will be falsely detected).",
         0x00C000,
         Qt::AlignLeft},
        {window->lblEnDis, {0, 88, 129, 17}, "No artifacts detected.", kGreen, Qt::AlignHCenter},
    };
    for (const auto& l : labels) {
        SCOPED_TRACE(l.caption);
        EXPECT_EQ(l.label->geometry(), l.geometry);
        EXPECT_EQ(l.label->Caption(), l.caption);
        EXPECT_EQ(l.label->ForeColor(), l.colour);
        EXPECT_EQ(l.label->BackColor(), 0x000000);
        EXPECT_TRUE(l.label->alignment() & l.alignment);
        // The whole text is readable within the label.
        EXPECT_LE(l.label->heightForWidth(l.geometry.width()), l.geometry.height());
    }
    // The longer status fits on the line the label has.
    const QFontMetrics metrics(window->lblEnDis->font());
    EXPECT_LE(metrics.horizontalAdvance("ARTIFACTS FOUND!"), 129);
    EXPECT_LE(metrics.horizontalAdvance("No artifacts detected."), 129);
}

TEST_F(MonitorWindow, ReferenceHoldsThePictureAndAnOuterColumnAndRowOfMinusOne) {
    Open(false);
    const monitor::ColourTable& reference = MonitorInternals::ReferencePixels(*window);
    ASSERT_EQ(reference.UpperX(), kPictureWidth);
    ASSERT_EQ(reference.UpperY(), kPictureHeight);
    const platform::Picture picture = platform::LoadPictureResource(":/tw/monitor.bmp");
    for (int x = 0; x <= kPictureWidth; ++x)
        for (int y = 0; y <= kPictureHeight; ++y) {
            const platform::Colour expected = x == kPictureWidth || y == kPictureHeight
                                                  ? -1
                                                  : screentest::FromQRgb(picture->pixel(x, y));
            ASSERT_EQ(reference(x, y), expected) << x << "," << y;
        }
}

TEST_F(MonitorWindow, FirstTickComesAfter700msMovesToOneOneAndShowsGreen) {
    Open(true);
    EXPECT_TRUE(window->Timer1.Enabled());
    EXPECT_EQ(Offset(), QPoint(0, 0));
    ASSERT_TRUE(screentest::WaitFor([this] { return Offset() != QPoint(0, 0); }));
    EXPECT_GE(sinceLoad.elapsed(), 650);
    EXPECT_EQ(Offset(), QPoint(1, 1));
    EXPECT_EQ(Status(), "green");
}

TEST_F(MonitorWindow, OffsetsWalkOutToElevenAndBackToZero) {
    Open(false);
    const std::vector<int> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 10,
                                       9, 8, 7, 6, 5, 4, 3, 2, 1, 0,  1};
    for (size_t tick = 0; tick < expected.size(); ++tick) {
        Tick();
        ASSERT_EQ(Offset(), QPoint(expected[tick], expected[tick])) << "tick " << tick + 1;
        // Read right after the move, the picture is where the scan looks.
        ASSERT_EQ(Status(), "green") << "tick " << tick + 1;
    }
}

// Any window over the picture counts, down to one pixel at either end of the scan.
TEST_F(MonitorWindow, CoveredPictureTurnsRedAndGreenAgainOnceUncovered) {
    const struct {
        const char* name;
        QRect inPicture;
    } covers[] = {
        {"block over the text", {30, 20, 40, 30}},
        {"first pixel scanned", {0, 0, 1, 1}},
        {"last pixel scanned", {kPictureWidth - 1, kPictureHeight - 1, 1, 1}},
    };
    Open(false);
    Tick();
    ASSERT_EQ(Status(), "green");
    for (const auto& c : covers) {
        SCOPED_TRACE(c.name);
        const int next = Offset().x() + 1;
        auto cover = Cover(OnPictureAt(next, c.inPicture));
        Tick();
        ASSERT_EQ(Offset(), QPoint(next, next));
        EXPECT_EQ(Status(), "red");
        cover.reset();
        EXPECT_TRUE(LaterTickTurnsGreen());
    }
}

// Also once hidden and shown again: the window manager forgets the state in between.
TEST_F(MonitorWindow, StaysAboveOrdinaryWindows) {
    Open(false);
    for (const bool shownAgain : {false, true}) {
        SCOPED_TRACE(shownAgain ? "shown again" : "first shown");
        if (shownAgain) {
            window->Hide();
            window->Show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
            ASSERT_TRUE(screentest::WaitFor([this] { return PictureOnScreen(); }));
        }
        Tick();
        const QRect picture = OnPictureAt(Offset().x(), {0, 0, kPictureWidth, kPictureHeight});
        SolidWindow ordinary(picture.adjusted(-20, -20, 20, 20), kRed);
        ordinary.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&ordinary));
        ordinary.raise();
        ordinary.activateWindow();
        ASSERT_TRUE(screentest::WaitFor([&] { return ordinary.isActiveWindow(); }));
        Tick();
        EXPECT_EQ(Status(), "green");
    }
}

TEST_F(MonitorWindow, PartlyOffTheScreenTurnsRedAndGreenAgainOnScreen) {
    Open(false);
    Tick();
    ASSERT_EQ(Status(), "green");
    const QPoint home = window->pos();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint offScreen[] = {
        {-60, home.y()},
        {home.x(), screen.bottom() - 40},
        {screen.right() - 30, home.y()},
    };
    for (const QPoint& place : offScreen) {
        SCOPED_TRACE(testing::Message() << "window at " << place.x() << "," << place.y());
        window->move(place);
        ASSERT_TRUE(screentest::WaitFor([&] { return window->pos() == place; }));
        Tick();
        EXPECT_EQ(Status(), "red");
        window->move(home);
        ASSERT_TRUE(screentest::WaitFor([&] { return window->pos() == home; }));
        EXPECT_TRUE(LaterTickTurnsGreen());
    }
}

TEST_F(MonitorWindow, ClickPausesAndSecondClickResumesWithTheSameDirection) {
    Open(false);
    for (int i = 0; i < 12; ++i)
        Tick();
    ASSERT_EQ(Offset(), QPoint(10, 10)); // on the way back from 11
    auto cover = Cover(OnPictureAt(9, {30, 20, 40, 30}));
    Tick();
    ASSERT_EQ(Status(), "red");

    // Running, then paused by a click: neither the place nor the status changes any more,
    // although the cause is gone.
    window->Timer1.SetEnabled(true);
    QTest::mouseClick(window->pctMonitor, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(window->Timer1.Enabled());
    const QPoint paused = Offset();
    cover.reset();
    QTest::qWait(1600); // more than two ticks' time
    EXPECT_EQ(Offset(), paused);
    EXPECT_EQ(Status(), "red");

    QTest::mouseClick(window->pctMonitor, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(window->Timer1.Enabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Offset() != paused; }, 3000));
    EXPECT_EQ(Offset(), paused - QPoint(1, 1));
    EXPECT_EQ(Status(), "green");
}

} // namespace
