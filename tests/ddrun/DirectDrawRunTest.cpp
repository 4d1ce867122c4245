#include "tests/ddrun/RunFixture.h"

#include <QWidget>
#include <xcb/xcb.h>

using namespace ddrun;

namespace {

// A native window inside the cover window, filled red by the X server the moment it is
// mapped: it stands over the copied area whenever the cover window is on the screen.
class CoveringWindow : public QWidget {
  public:
    explicit CoveringWindow(const QRect& rect) : QWidget(&frmDXTestBed::Instance()) {
        setAttribute(Qt::WA_NativeWindow);
        setAttribute(Qt::WA_DontCreateNativeAncestors);
        setGeometry(rect);
        auto* connection =
            qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        const uint32_t red = 0xFF0000;
        xcb_change_window_attributes(connection, uint32_t(winId()), XCB_CW_BACK_PIXEL, &red);
        show();
    }
    void paintEvent(QPaintEvent*) override {}
};

// Where the X server has the window, whatever Qt last asked for.
QPoint ServerPosition(QWidget& window) {
    auto* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, uint32_t(window.winId()), root, 0, 0),
        nullptr);
    const QPoint position = reply ? QPoint(reply->dst_x, reply->dst_y) : QPoint(-1, -1);
    free(reply);
    return position;
}

// Moves the cover window where the window manager keeps it when it is shown again.
bool PlaceCoverWindow(const QPoint& position) {
    frmDXTestBed& cover = frmDXTestBed::Instance();
    cover.Show();
    if (!QTest::qWaitForWindowExposed(&cover))
        return false;
    cover.move(position);
    const bool placed = QTest::qWaitFor([&] { return ServerPosition(cover) == position; });
    cover.Hide();
    return placed;
}

} // namespace

TEST(DirectDrawRun, CleanScreenScoresZero) {
    ChooseStrength(kNoStrength);
    UnloadStatusWindow();
    const RunRecord run = BeginDirectDrawTest();
    EXPECT_EQ(run.console, kCleanRunLines);
    EXPECT_EQ(MainWindow().lblScore->Caption(), "0 DXArtifactMarks");
    EXPECT_EQ(MainWindow().lblScoreShadow->Caption(), "0 DXArtifactMarks");
    // No pass ran: the progress window kept its first text.
    EXPECT_EQ(frmStatus::Instance().lblPrcnt->Caption(), "0% Complete");
    EXPECT_FALSE(frmDXTestBed::Instance().isVisible());
    EXPECT_FALSE(frmStatus::Instance().isVisible());
}

TEST(DirectDrawRun, WindowOverTheCountedAreaGivesItsPixelCount) {
    ChooseStrength(kNoStrength);
    CoveringWindow over({50, 60, 40, 30});
    const RunRecord run = BeginDirectDrawTest();
    ASSERT_EQ(run.console.size(), 3) << run.console.join('\n').toStdString();
    EXPECT_EQ(run.console[1], "You recieved 1200 DXArtifactMarks.");
    EXPECT_EQ(run.console[2], "You got artifacts, please lower your video settings.");
    EXPECT_EQ(MainWindow().lblScore->Caption(), "1200 DXArtifactMarks");
}

TEST(DirectDrawRun, WeakRunsEightyPassesWithProgress) {
    ChooseStrength(kWeak);
    UnloadStatusWindow();
    QRect statusGeometry;
    Qt::WindowFlags statusFlags;
    QString testingText;
    bool bothShown = false;
    const RunRecord run = BeginDirectDrawTest([&](const QString&) {
        if (!frmStatus::IsLoaded() || !frmStatus::Instance().isVisible())
            return;
        frmStatus& status = frmStatus::Instance();
        statusGeometry = status.geometry();
        statusFlags = status.windowFlags();
        testingText = QString::fromStdString(status.lblTesting->Caption());
        bothShown |= frmDXTestBed::Instance().isVisible();
    });
    EXPECT_EQ(run.console, kCleanRunLines);
    EXPECT_GE(run.seconds, 80 * 0.03);

    // Seen in the pauses: the first text, then the texts of passes 1 to 79 (and that of
    // pass 80 when the pump after the passes saw it).
    ASSERT_GE(run.progress.size(), 80) << run.progress.join(", ").toStdString();
    ASSERT_LE(run.progress.size(), 81) << run.progress.join(", ").toStdString();
    EXPECT_EQ(run.progress[0], "0% Complete") << run.progress.join(", ").toStdString();
    EXPECT_EQ(run.progress[1], "1% complete");
    EXPECT_EQ(run.progress[2], "2% complete"); // 2.5 goes to the even 2
    EXPECT_EQ(run.progress[3], "4% complete");
    EXPECT_EQ(run.progress[6], "8% complete"); // 7.5 goes to the even 8
    EXPECT_EQ(run.progress[79], "99% complete");
    ASSERT_TRUE(frmStatus::IsLoaded()); // hidden, not unloaded
    EXPECT_EQ(frmStatus::Instance().lblPrcnt->Caption(), "100% complete");
    EXPECT_FALSE(frmStatus::Instance().isVisible());

    EXPECT_TRUE(run.statusShown);
    EXPECT_FALSE(bothShown) << "the cover window is shown only after the passes";
    EXPECT_EQ(testingText, "Testing... (press Q to cancel)");
    EXPECT_TRUE(statusFlags & Qt::FramelessWindowHint);
    EXPECT_TRUE((statusFlags & Qt::WindowType_Mask) == Qt::Tool) << "no taskbar button";
    EXPECT_EQ(statusGeometry.size(), QSize(169, 55));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(statusGeometry.center().x(), screen.center().x(), 1);
    EXPECT_NEAR(statusGeometry.center().y(), screen.center().y(), 1);
}

TEST(DirectDrawRun, QOrLowerCaseQCancelsAfterOnePass) {
    for (const char key : {'Q', 'q'}) {
        ChooseStrength(kAverage);
        MainWindow().SetScore("before");
        bool pressed = false;
        const RunRecord run = BeginDirectDrawTest([&](const QString&) {
            if (!pressed && frmStatus::IsLoaded() && frmStatus::Instance().isVisible()) {
                pressed = true;
                QTest::keyClick(&frmStatus::Instance(), key);
            }
        });
        EXPECT_EQ(run.console, QStringList({"DirectX flip buffers initialized",
                                            "DX test was cancelled by user."}))
            << key;
        // The pass in which the key came was the last: the window kept the text it had.
        EXPECT_EQ(run.progress.size(), 1) << key << run.progress.join(", ").toStdString();
        EXPECT_FALSE(frmStatus::IsLoaded()) << key;
        EXPECT_FALSE(run.coverShown) << key;
        EXPECT_TRUE(MainWindow().QuitFlag) << key;
        EXPECT_EQ(MainWindow().lblScore->Caption(), "before") << key;
    }
}

TEST(DirectDrawRun, OtherKeysDoNotCancel) {
    ChooseStrength(kAverage);
    bool pressed = false, cancelled = false;
    const RunRecord run = BeginDirectDrawTest([&](const QString& progress) {
        if (!frmStatus::IsLoaded())
            return;
        if (!pressed && frmStatus::Instance().isVisible()) {
            pressed = true;
            for (const char key : {'x', 'W', ' ', '1'})
                QTest::keyClick(&frmStatus::Instance(), key);
            QTest::keyClick(&frmStatus::Instance(), Qt::Key_Escape);
        } else if (!cancelled && progress == "1% complete") {
            cancelled = true; // pass 13 of 1280
            QTest::keyClick(&frmStatus::Instance(), 'q');
        }
    });
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(run.console.last(), "DX test was cancelled by user.");
    // After the text the window had: passes 1 to 6 round to 0, 7 to 13 to 1.
    EXPECT_EQ(run.progress.mid(1), QStringList({"0% complete", "1% complete"}));
}

// A run that stops on a failure: one line that says why, no score, its windows hidden.
void ExpectStopped(const RunRecord& run, const QStringList& linesBefore, const QString& reason) {
    ASSERT_EQ(run.console.size(), linesBefore.size() + 1) << run.console.join('\n').toStdString();
    EXPECT_EQ(run.console.mid(0, linesBefore.size()), linesBefore);
    EXPECT_EQ(run.console.last(), reason);
    EXPECT_EQ(MainWindow().lblScore->Caption(), "before");
    EXPECT_FALSE(frmStatus::IsLoaded() && frmStatus::Instance().isVisible());
    EXPECT_FALSE(frmDXTestBed::Instance().isVisible());
}

TEST(DirectDrawRunFailure, ASwapThatIsRefusedStopsTheRun) {
    ChooseStrength(kWeak);
    MainWindow().SetScore("before");
    // Another holder of a lock on buffer 2: the first copy of the first swap is refused.
    ddraw::DirectDrawSurface7& buffer = MainWindow().Corvantis->GetBuffer(2);
    ddraw::DDSURFACEDESC2 desc;
    buffer.Lock({0, 0, 320, 240}, desc, ddraw::DDLOCK_WAIT, 0);
    const RunRecord run = BeginDirectDrawTest();
    buffer.Unlock({0, 0, 320, 240});
    ExpectStopped(run, {"DirectX flip buffers initialized"},
                  "DX test could not be completed: copying between the surfaces failed "
                  "(DirectDraw: the 320 x 240 surface is locked; unlock it before copying onto "
                  "it).");
    EXPECT_FALSE(run.coverShown);
    EXPECT_EQ(frmStatus::Instance().lblPrcnt->Caption(), "0% Complete");
}

TEST(DirectDrawRunFailure, ACoverWindowAwayFromTheCornerStopsTheRun) {
    ChooseStrength(kNoStrength);
    MainWindow().SetScore("before");
    ASSERT_TRUE(PlaceCoverWindow({600, 500}));
    const RunRecord run = BeginDirectDrawTest();
    ASSERT_TRUE(PlaceCoverWindow({0, 0}));
    ExpectStopped(run, {"DirectX flip buffers initialized"},
                  "DX test could not be completed: copying to the screen failed (DirectDraw: the "
                  "destination rectangle (0, 0)-(320, 240) is not inside the cooperative window, "
                  "which covers (600, 500)-(920, 740)).");
    // Back in its corner, the next run completes.
    EXPECT_EQ(BeginDirectDrawTest().console, kCleanRunLines);
}
