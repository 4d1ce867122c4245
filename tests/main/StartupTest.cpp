#include "main/frmDXTestBed.h"
#include "main/frmMain.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

const QString kGreeting = "Corvantis 2.0 Engine instance created.";
const QString kSurfaces = "DirectX 7 virtual surfaces created.";

// Runs the start-up again on a cleared console and returns what it wrote.
QStringList StartUp(const char* cursetBytes) {
    WriteProgramFile("Curset.ini", nullptr);
    WriteProgramFile("curset.ini", nullptr);
    WriteProgramFile("Curset.ini", cursetBytes);
    frmMain& main = frmMain::Instance();
    main.txtConsole->SetText("");
    main.RunFormLoad();
    return Lines(main.txtConsole->Text());
}

std::vector<std::string> LoadedPaths() {
    std::vector<std::string> paths;
    clsCorvantis& engine = *frmMain::Instance().Corvantis;
    for (int16_t i = 0; i <= engine.GetBitmapCount(); ++i)
        paths.push_back(engine.GetBitmapPath(i));
    return paths;
}

} // namespace

TEST(Startup, MainWindowAndCoverWindow) {
    MakeSet("Mine", {"b.bmp", "A.BMP", "c.bmp"});
    WriteProgramFile("Curset.ini", "Mine\r\n");
    frmMain& main = frmMain::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    EXPECT_TRUE(main.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(main.size(), QSize(495, 334));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(main.geometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(main.geometry().center().y(), screen.center().y(), 1);
    EXPECT_EQ(main.lblScore->Caption(), "Test not run");
    EXPECT_TRUE(main.opnDXTesting->Value());
    EXPECT_TRUE(main.opnDXTest[1]->Value());
    EXPECT_TRUE(main.txtConsole->Locked());

    ASSERT_TRUE(frmDXTestBed::IsLoaded());
    frmDXTestBed& cover = frmDXTestBed::Instance();
    EXPECT_FALSE(cover.isVisible());
    EXPECT_EQ(cover.Left(), 0);
    EXPECT_EQ(cover.Top(), 0);
    EXPECT_EQ(cover.Width(), 4800);
    EXPECT_EQ(cover.Height(), 3600);

    const QStringList lines = Lines(main.txtConsole->Text());
    EXPECT_EQ(lines, QStringList({kGreeting, kSurfaces, "Bitmap set: Mine"}));
    const std::string set = main.Corvantis->GetPath() + "Mine/";
    EXPECT_EQ(LoadedPaths(),
              (std::vector<std::string>{set + "A.BMP", set + "b.bmp", set + "c.bmp"}));
    EXPECT_EQ(main.BitmapSet, "Mine");
}

TEST(Startup, EmptySetAndEmptyName) {
    MakeSet("Empty", {});
    EXPECT_EQ(StartUp("Empty\r\n"), QStringList({kGreeting, kSurfaces, "Bitmap set: Empty"}));
    EXPECT_EQ(frmMain::Instance().Corvantis->GetBitmapCount(), -1);

    // An empty name makes the program folder itself the set.
    WriteFileBytes(ProgramFolder() + "Top.bmp", "x");
    EXPECT_EQ(StartUp("\r\n").last(), "Bitmap set: ");
    EXPECT_EQ(LoadedPaths(), std::vector<std::string>{ProgramFolder().toStdString() + "/Top.bmp"});
    QFile::remove(ProgramFolder() + "Top.bmp");
}

TEST(Startup, LowerCaseFileNameIsRead) {
    MakeSet("Lower", {"one.bmp"});
    WriteProgramFile("Curset.ini", nullptr);
    WriteProgramFile("curset.ini", "Lower\r\n");
    frmMain& main = frmMain::Instance();
    main.txtConsole->SetText("");
    main.RunFormLoad();
    EXPECT_EQ(Lines(main.txtConsole->Text()).last(), "Bitmap set: Lower");
    EXPECT_EQ(main.Corvantis->GetBitmapCount(), 0);
}

TEST(Startup, RunFormLoadAppendsAndKeepsScores) {
    MakeSet("Mine", {"b.bmp", "A.BMP", "c.bmp"});
    StartUp("Mine\r\n");
    frmMain& main = frmMain::Instance();
    main.SetScore("0 DXArtifactMarks");
    EXPECT_EQ(main.lblScoreShadow->Caption(), "0 DXArtifactMarks");
    EXPECT_EQ(main.lblScore->Caption(), "0 DXArtifactMarks");
    clsCorvantis* before = main.Corvantis.get();
    main.RunFormLoad();
    EXPECT_NE(main.Corvantis.get(), before);
    EXPECT_EQ(Lines(main.txtConsole->Text()),
              QStringList({kGreeting, kSurfaces, "Bitmap set: Mine", kGreeting, kSurfaces,
                           "Bitmap set: Mine"}));
    EXPECT_EQ(main.lblScore->Caption(), "0 DXArtifactMarks");
    EXPECT_EQ(main.Corvantis->GetBitmapCount(), 2);
}

TEST(Startup, UnusableSetsAreReportedAndLoadNothing) {
    const struct {
        const char* curset;
        const char* expectedLine;
    } cases[] = {
        {nullptr, "Curset.ini could not be read"},
        {"", "Curset.ini is empty"},
        {"Absent\r\n", "Bitmap set folder \"Absent\" not found in the program folder"},
        {"/usr/share\r\n", "Bitmap set \"/usr/share\" refused"},
        {"../..\r\n", "Bitmap set \"../..\" refused"},
        {"Mine/../..\r\n", "Bitmap set \"Mine/../..\" refused"},
    };
    MakeSet("Mine", {"a.bmp"});
    for (const auto& c : cases) {
        const QStringList lines = StartUp(c.curset);
        ASSERT_EQ(lines.size(), 3) << c.expectedLine;
        EXPECT_TRUE(lines.last().startsWith(c.expectedLine)) << lines.last().toStdString();
        EXPECT_EQ(frmMain::Instance().Corvantis->GetBitmapCount(), -1);
        EXPECT_TRUE(frmMain::Instance().isVisible());
    }
    // The window stays usable: a good set loads again.
    EXPECT_EQ(StartUp("Mine\r\n").last(), "Bitmap set: Mine");
}

// Runs only inside the child started below, where the process has no OpenGL.
TEST(StartupWithoutOpenGL, ConsoleSaysWhyAndTheRestWorks) {
    if (qEnvironmentVariableIsEmpty("TW_TEST_NO_OPENGL"))
        GTEST_SKIP() << "runs in a child process without OpenGL";
    MakeSet("NoGL", {"a.bmp"});
    WriteProgramFile("Curset.ini", "NoGL\r\n");
    frmMain& main = frmMain::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    const QStringList lines = Lines(main.txtConsole->Text());
    ASSERT_EQ(lines.size(), 3) << main.txtConsole->Text();
    EXPECT_EQ(lines[0], kGreeting);
    EXPECT_TRUE(lines[1].startsWith("DirectX 7 virtual surfaces could not be created: "))
        << lines[1].toStdString();
    EXPECT_GT(lines[1].size(), QString("DirectX 7 virtual surfaces could not be created: ").size());
    EXPECT_EQ(lines[2], "Bitmap set: NoGL");
    EXPECT_EQ(main.Corvantis->GetBitmapCount(), 0);
    EXPECT_TRUE(main.isVisible());
}

TEST(Startup, WithoutOpenGLTheConsoleSaysSo) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TW_TEST_NO_OPENGL", "1");
    // The X platform without any OpenGL integration: no context can be made.
    env.insert("QT_XCB_GL_INTEGRATION", "none");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=StartupWithoutOpenGL.*"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}
