#include "tests/ddraw/ScreenFixtures.h"
#include "tests/ddrun/RunFixture.h"

#include <QProcess>

using namespace ddrun;

// Run inside the children started below: a run whose layer fails for real.
TEST(DirectDrawRunChild, StopsWithoutAScore) {
    if (!screentest::InChildRun())
        GTEST_SKIP() << "runs in a child process";
    ChooseStrength(kWeak);
    MainWindow().SetScore("before");
    const RunRecord run = BeginDirectDrawTest();
    const QString expected = qEnvironmentVariable("TW_EXPECTED_LINES");
    EXPECT_EQ(run.console.join('|'), expected);
    EXPECT_EQ(MainWindow().lblScore->Caption(), "before");
    EXPECT_FALSE(frmStatus::IsLoaded() && frmStatus::Instance().isVisible());
    EXPECT_FALSE(frmDXTestBed::Instance().isVisible());
}

TEST(DirectDrawRunFailure, WithoutOpenGLThePreparingFails) {
    QString output;
    EXPECT_TRUE(screentest::RunChildTest(
        "DirectDrawRunChild.StopsWithoutAScore",
        {"QT_XCB_GL_INTEGRATION=none",
         "TW_EXPECTED_LINES=DX test could not be completed: preparing the surfaces failed "
         "(Object required: the DirectDraw surfaces were not created)."},
        &output))
        << output.toStdString();
}

// A screen smaller than the area the run copies and locks: the copy is refused.
TEST(DirectDrawRunFailure, OnAScreenSmallerThanTheAreaTheCopyFails) {
    QProcess server;
    server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "300x200x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.canReadLine(); }, 10000));
    const QString display = ":" + QString::fromLatin1(server.readLine()).trimmed();
    QString output;
    EXPECT_TRUE(screentest::RunChildTest(
        "DirectDrawRunChild.StopsWithoutAScore",
        {"DISPLAY=" + display,
         "TW_EXPECTED_LINES=DirectX flip buffers initialized|DX test could not be completed: "
         "copying to the screen failed (DirectDraw: the destination rectangle (0, 0)-(320, 240) "
         "lies "
         "outside the 300 x 200 screen)."},
        &output))
        << output.toStdString();
    server.terminate();
    server.waitForFinished();
}
