#include "main/frmMain.h"
#include "platform/Errors.h"
#include "testbed/frmTestBed.h"
#include "tests/support/TestSupport.h"
#include "tests/testbed/TestBedFixtures.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QMoveEvent>
#include <gtest/gtest.h>

#include <unistd.h>

#include <map>
#include <optional>
#include <vector>

using namespace testbed;
using namespace testsupport;

namespace {

const QString kSetUp = "Set corvantis test object successful.";
const QString kClean = "You have no artifacts...overclock some more!";
const QString kDirty = "You have artifacts...lower your video settings";

// What one software test did, seen from outside: captions, sweep moves, covers placed.
class RunObserver : public QObject {
  public:
    // Covers for the compare of bitmap i: a rectangle in the picture's pixels.
    std::map<int, QRect> covers;
    std::vector<std::string> captions;
    std::vector<std::vector<QPoint>> sweeps;
    bool coversShown = true;

    RunObserver() { qApp->installEventFilter(this); }
    ~RunObserver() override { qApp->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange)
            if (auto* bed = dynamic_cast<frmTestBed*>(watched))
                CaptionChanged(*bed);
        if (event->type() == QEvent::WindowActivate && dynamic_cast<frmTestBed*>(watched))
            bedActivated_ = true;
        if (event->type() == QEvent::Move && sweeping_ && bed_ && watched == bed_->pctTest)
            sweeps.back().push_back(static_cast<QMoveEvent*>(event)->pos());
        return false;
    }

    void customEvent(QEvent* event) override {
        if (event->type() == kAfterSweep)
            AfterSweep();
        else if (event->type() == kAfterCompare && cover_.isVisible())
            coversShown = cover_.Uncover() && coversShown;
    }

  private:
    static constexpr auto kAfterSweep = static_cast<QEvent::Type>(QEvent::User + 1);
    static constexpr auto kAfterCompare = static_cast<QEvent::Type>(QEvent::User + 2);

    // The sweep and the compare each follow a caption at once; the events posted here are
    // delivered by the run's next pump.
    void CaptionChanged(frmTestBed& bed) {
        bed_ = &bed;
        const std::string caption = bed.Caption();
        captions.push_back(caption);
        if (caption.starts_with("Testing...")) {
            sweeping_ = true;
            sweeps.emplace_back();
            QCoreApplication::postEvent(this, new QEvent(kAfterSweep));
        } else if (caption.starts_with("Checking for corruption...")) {
            QCoreApplication::postEvent(this, new QEvent(kAfterCompare));
        }
    }

    void AfterSweep() {
        sweeping_ = false;
        const int bitmap = static_cast<int>(sweeps.size()) - 1;
        const auto planned = covers.find(bitmap);
        if (planned == covers.end() || !bed_)
            return;
        // The test bed's own activation must be over, or it could still rise above the cover.
        coversShown = QTest::qWaitFor([&] { return bedActivated_; }, 10000) && coversShown;
        const QPoint origin = bed_->pctTest->mapToGlobal(QPoint(0, 0));
        coversShown = cover_.CoverScreen(planned->second.translated(origin)) && coversShown;
    }

    CoverWindow cover_;
    frmTestBed* bed_ = nullptr;
    bool sweeping_ = false;
    bool bedActivated_ = false;
};

struct RunResult {
    QStringList console;
    std::string score;
    std::string error; // a failure that escaped the run
};

class TestBedRun : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        MakeSet("Run", {});
        WriteProgramFile("Curset.ini", "Run\r\n");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frmMain::Instance()));
    }

    void SetUp() override {
        QDir(ProgramFolder()).mkpath("pics");
        frmMain::Instance().Corvantis->ClearBitmaps();
        frmMain::Instance().BitmapSet = "Run";
        frmMain::Instance().SetScore("Test not run");
    }

    // Writes a bitmap into the program folder and appends it to the engine's list.
    static std::string AddBitmap(const QString& name, const QImage& image) {
        const QString path = ProgramFolder() + "pics/" + name;
        EXPECT_TRUE(SaveBmp(path, image));
        frmMain::Instance().Corvantis->AddBitmap(path.toStdString());
        return path.toStdString();
    }

    // Shows the test bed the way "Begin Test" does and returns what the run wrote.
    RunResult Run() {
        frmMain& main = frmMain::Instance();
        main.txtConsole->SetText("");
        RunResult result;
        try {
            frmTestBed::Instance().Show();
        } catch (const platform::RuntimeError& error) {
            if (frmTestBed::IsLoaded())
                result.error = error.Description();
        }
        result.console = Lines(main.txtConsole->Text());
        result.score = main.lblScore->Caption();
        return result;
    }

    static bool TestBedGone() {
        if (frmTestBed::IsLoaded())
            return false;
        return QTest::qWaitFor([] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (dynamic_cast<frmTestBed*>(widget))
                    return false;
            return true;
        });
    }

    RunObserver observer;
};

QStringList BitmapLines(int i, int score) {
    const QString n = QString::number(i);
    return {"Loading bitmap" + n, "Recording pixels for bitmap" + n, "Testing bitmap" + n,
            "Checking bitmap" + n, QString("Bitmap%1 reported %2 artifacts.").arg(i).arg(score)};
}

QStringList Ending(int total) {
    return {"", QString("Score is %1 ArtifactMarks").arg(total), total ? kDirty : kClean};
}

} // namespace

TEST_F(TestBedRun, EmptySet) {
    const RunResult run = Run();
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.console, QStringList{kSetUp} + Ending(0));
    EXPECT_EQ(run.score, "0 ArtifactMarks");
    EXPECT_TRUE(observer.captions.empty()); // "Test Bed" throughout
    EXPECT_TRUE(TestBedGone());
}

TEST_F(TestBedRun, OneCleanBitmap) {
    AddBitmap("clean.bmp", PatternPicture(256, 256));
    const RunResult run = Run();
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.console, QStringList{kSetUp} + BitmapLines(0, 0) + Ending(0));
    EXPECT_EQ(run.score, "0 ArtifactMarks");
    EXPECT_EQ(observer.captions,
              (std::vector<std::string>{"Recording original pixel data... - Run",
                                        "Testing... - Run", "Checking for corruption... - Run"}));
    EXPECT_TRUE(TestBedGone());
}

TEST_F(TestBedRun, TheSweepMovesThePictureAroundTheEllipse) {
    AddBitmap("a.bmp", PatternPicture(256, 256));
    AddBitmap("b.bmp", PatternPicture(10, 8));
    Run();
    ASSERT_EQ(observer.sweeps.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const float side[] = {256, 10};
        const float height[] = {256, 8};
        // Moves to the same place again do not show as moves.
        std::vector<QPoint> expected;
        ForEachSweepAngle([&](double a) {
            const SweepPoint p = SweepPosition(a, 635, 535, side[i], height[i]);
            if (expected.empty() || expected.back() != QPoint(p.left, p.top))
                expected.emplace_back(p.left, p.top);
        });
        EXPECT_EQ(observer.sweeps[i], expected) << "bitmap " << i;
    }
    const std::vector<QPoint>& first = observer.sweeps[0];
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.front(), QPoint(240, 138));
    const auto at = [&](QPoint p, std::vector<QPoint>::const_iterator from) {
        return std::find(from, first.end(), p);
    };
    const auto top = at({190, 110}, first.begin());
    const auto left = at({140, 140}, top);
    const auto bottom = at({190, 170}, left);
    EXPECT_NE(bottom, first.end()) << "top, left and bottom in that order";
    EXPECT_EQ(first.back(), QPoint(240, 140));
}

TEST_F(TestBedRun, TwoBitmapsScoringThreeAndZero) {
    AddBitmap("a.bmp", PatternPicture(64, 48));
    AddBitmap("b.bmp", PatternPicture(64, 48));
    frmMain::Instance().BitmapSet = "";
    observer.covers[0] = QRect(0, 0, 4, 2); // compared: columns 1..3 of row 1
    const RunResult run = Run();
    EXPECT_TRUE(observer.coversShown);
    EXPECT_EQ(run.console, QStringList{kSetUp} + BitmapLines(0, 3) + BitmapLines(1, 0) + Ending(3));
    EXPECT_EQ(run.score, "3 ArtifactMarks");
    EXPECT_EQ(observer.captions.at(1), "Testing... - ");
    EXPECT_TRUE(TestBedGone());

    // The next run starts again from 0 and reports only its own bitmaps.
    frmMain::Instance().Corvantis->ClearBitmaps();
    AddBitmap("c.bmp", PatternPicture(20, 20));
    const RunResult second = Run();
    EXPECT_EQ(second.console, QStringList{kSetUp} + BitmapLines(0, 0) + Ending(0));
    EXPECT_EQ(second.score, "0 ArtifactMarks");
}

// A window over the picture at the compare counts exactly the compared pixels it covers.
TEST_F(TestBedRun, ACoveringWindowCountsTheComparedPixelsItCovers) {
    struct Case {
        QRect cover; // in the 64 x 48 picture's pixels
        int covered;
    };
    const Case cases[] = {
        {{0, 0, 5, 4}, 4 * 3},     // column 0 and row 0 are never compared
        {{0, 0, 1, 48}, 0},        // column 0 alone
        {{0, 0, 64, 1}, 0},        // row 0 alone
        {{20, 10, 7, 3}, 7 * 3},   // inside
        {{60, 44, 10, 10}, 4 * 4}, // over the corner and beyond the picture
        {{-5, -5, 74, 58}, 63 * 47},
    };
    int total = 0;
    QStringList expected{kSetUp};
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        AddBitmap(QString("p%1.bmp").arg(i), PatternPicture(64, 48));
        observer.covers[i] = cases[i].cover;
        expected += BitmapLines(i, cases[i].covered);
        total += cases[i].covered;
    }
    const RunResult run = Run();
    EXPECT_TRUE(observer.coversShown);
    EXPECT_EQ(run.console, expected + Ending(total));
    EXPECT_EQ(run.score, std::to_string(total) + " ArtifactMarks");
}

// Nothing covering: every size scores 0, from a single pixel to a full-size picture.
TEST_F(TestBedRun, PictureSizesScoreZeroUncovered) {
    const QSize sizes[] = {{1, 1}, {10, 8}, {256, 256}};
    for (const QSize& size : sizes)
        AddBitmap(QString("s%1x%2.bmp").arg(size.width()).arg(size.height()),
                  PatternPicture(size.width(), size.height()));
    // And the whole picture covered counts its compared pixels: (W - 1) x (H - 1).
    observer.covers[3] = QRect(-2, -2, 14, 12);
    AddBitmap("covered.bmp", PatternPicture(10, 8));
    const RunResult run = Run();
    EXPECT_EQ(run.console, QStringList{kSetUp} + BitmapLines(0, 0) + BitmapLines(1, 0) +
                               BitmapLines(2, 0) + BitmapLines(3, 63) + Ending(63));
}

TEST_F(TestBedRun, IndexesOfTwoDigitsFollowTheWord) {
    for (int i = 0; i <= 10; ++i)
        AddBitmap(QString("tiny%1.bmp").arg(i), PatternPicture(1, 1));
    const RunResult run = Run();
    ASSERT_EQ(run.console.size(), 1 + 11 * 5 + 3);
    EXPECT_EQ(run.console.mid(1 + 10 * 5, 5), BitmapLines(10, 0));
    EXPECT_EQ(run.console[1 + 10 * 5], "Loading bitmap10");
    EXPECT_EQ(run.console[5 + 10 * 5], "Bitmap10 reported 0 artifacts.");
}

// A bitmap that cannot be loaded ends the run with one line naming it and why, and the
// test bed goes away; the score label keeps its text.
TEST_F(TestBedRun, ABitmapThatCannotBeLoadedEndsTheRunAndUnloads) {
    const QString pics = ProgramFolder() + "pics/";
    QDir().mkpath(pics + "x.bmp");
    WriteFileBytes(pics + "text.bmp", "just some words\r\n");
    WriteFileBytes(pics + "cut.bmp", std::string("BM\x36\0\0", 5));
    WriteFileBytes(pics + "huge.bmp", BmpHeaderOnly(20000, 20000).toStdString());
    WriteFileBytes(pics + "wide.bmp", BmpHeaderOnly(9000, 10).toStdString());
    WriteFileBytes(pics + "tall.bmp", BmpHeaderOnly(10, 9000).toStdString());
    struct Case {
        const char* file;
        const char* reason;
    };
    const Case cases[] = {
        {"gone.bmp", "File not found: "},           {"text.bmp", "Invalid picture: "},
        {"cut.bmp", "Invalid picture: "},           {"x.bmp", " is a folder"},
        {"huge.bmp", "Picture too large: "},        {"wide.bmp", "Picture too large: "},
        {"tall.bmp", "more than any screen shows"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        frmMain::Instance().Corvantis->ClearBitmaps();
        AddBitmap("good.bmp", PatternPicture(8, 8));
        const std::string path = (pics + c.file).toStdString();
        frmMain::Instance().Corvantis->AddBitmap(path);
        frmMain::Instance().SetScore("17 ArtifactMarks");
        const RunResult run = Run();
        EXPECT_EQ(run.error, "");
        EXPECT_EQ(run.console.mid(0, run.console.size() - 1),
                  QStringList{kSetUp} + BitmapLines(0, 0) + QStringList{"Loading bitmap1"});
        const std::string line = run.console.last().toStdString();
        EXPECT_TRUE(line.starts_with("Bitmap1 could not be loaded: ")) << line;
        EXPECT_NE(line.find(path), std::string::npos) << line;
        EXPECT_NE(line.find(c.reason), std::string::npos) << line;
        EXPECT_EQ(run.score, "17 ArtifactMarks");
        EXPECT_TRUE(TestBedGone());
    }
}

TEST_F(TestBedRun, AnUnreadableBitmapEndsTheRun) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    const std::string path = AddBitmap("locked.bmp", PatternPicture(8, 8));
    ASSERT_TRUE(QFile::setPermissions(QString::fromStdString(path), {}));
    const RunResult run = Run();
    EXPECT_EQ(run.console.last().toStdString(),
              "Bitmap0 could not be loaded: Permission denied: " + path);
    EXPECT_EQ(run.score, "Test not run");
    EXPECT_TRUE(TestBedGone());
}

TEST_F(TestBedRun, MoreBitmapsThanTheIndexHoldsTestsNone) {
    for (int i = 0; i < 32769; ++i)
        frmMain::Instance().Corvantis->AddBitmap("/nowhere/" + std::to_string(i) + ".bmp");
    const RunResult run = Run();
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.console, (QStringList{kSetUp, "Bitmap set Run has 32769 bitmaps, more than the "
                                                "32768 a test can index: nothing tested."}));
    EXPECT_EQ(run.score, "Test not run");
    EXPECT_TRUE(observer.captions.empty());
    EXPECT_TRUE(TestBedGone());
}

TEST_F(TestBedRun, BeginTestRunsTheSoftwareTest) {
    AddBitmap("clean.bmp", PatternPicture(32, 32));
    frmMain& main = frmMain::Instance();
    main.opnSoftware->SetValue(true);
    main.txtConsole->SetText("");
    main.lblButtons_Click(0);
    EXPECT_EQ(Lines(main.txtConsole->Text()), QStringList{kSetUp} + BitmapLines(0, 0) + Ending(0));
    EXPECT_EQ(main.lblScore->Caption(), "0 ArtifactMarks");
    EXPECT_TRUE(TestBedGone());
}
