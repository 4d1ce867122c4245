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

} // namespace

TEST(DirectDrawRun, CleanScreenScoresZero) {
    ChooseStrength(kNoStrength);
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
