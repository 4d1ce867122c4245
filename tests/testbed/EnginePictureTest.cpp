#include "engine/clsCorvantis.h"
#include "platform/Errors.h"
#include "tests/testbed/TestBedFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace testbed;

namespace {

platform::WindowStyle PlainWindow() {
    platform::WindowStyle style;
    style.border = platform::BorderStyle::FixedToolWindow;
    style.controlBox = false;
    style.startPosition = platform::StartPosition::CenterScreen;
    style.clientWidthTwips = 400 * 15;
    style.clientHeightTwips = 300 * 15;
    style.backColor = 0x000000;
    style.caption = "Picture";
    return style;
}

int ErrorOf(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const platform::RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

// An engine driving a picture box in a window of its own, as the test bed does.
class EnginePicture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        window = std::make_unique<platform::Form>(PlainWindow());
        box = new platform::PictureBox(window.get(), 20 * 15, 20 * 15, 255, 255);
        engine.SetTestObject(box);
        window->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Adds a bitmap file to the engine's list; returns its index.
    int16_t Add(const QString& name, const QImage& image) {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(SaveBmp(path, image));
        engine.AddBitmap(path.toStdString());
        return static_cast<int16_t>(engine.GetBitmapCount());
    }

    QRect BoxOnScreen() const { return {box->mapToGlobal(QPoint(0, 0)), box->size()}; }

    // Loads a bitmap and waits until the screen shows it in the box.
    void LoadShown(int16_t id, const QImage& image) {
        engine.LoadBitmap(id);
        ASSERT_TRUE(QTest::qWaitFor([&] { return ScreenImage(BoxOnScreen()) == image; }, 10000));
    }

    QTemporaryDir folder;
    clsCorvantis engine;
    std::unique_ptr<platform::Form> window;
    platform::PictureBox* box = nullptr;
    CoverWindow cover;
};

} // namespace

TEST(EnginePictureUnset, EveryOperationNeedsATestPicture) {
    clsCorvantis engine;
    engine.AddBitmap("/nowhere/a.bmp");
    EXPECT_EQ(ErrorOf([&] { engine.MoveTestObject(1, 1); }), platform::ErrObjectRequired);
    EXPECT_EQ(ErrorOf([&] { engine.LoadBitmap(0); }), platform::ErrObjectRequired);
    EXPECT_EQ(ErrorOf([&] { engine.RecordPixels(); }), platform::ErrObjectRequired);
    EXPECT_EQ(ErrorOf([&] { engine.TestPixels(0); }), platform::ErrObjectRequired);
}

TEST_F(EnginePicture, SetTestObjectSwitchesToPixelsAndKeepsTheWindowOnTop) {
    EXPECT_EQ(box->ScaleMode(), platform::vbPixels);
    EXPECT_EQ(window->ScaleMode(), platform::vbPixels);
    EXPECT_TRUE(box->AutoSize());
    EXPECT_FALSE(box->AutoRedraw());
    EXPECT_TRUE(QTest::qWaitFor([&] { return HasAboveState(window->winId()); }));
    // Positions are pixels of the window's inner area now.
    engine.MoveTestObject(33, 44);
    EXPECT_EQ(box->pos(), QPoint(33, 44));
    EXPECT_EQ(box->size(), QSize(17, 17));
}

// Of a W x H picture, columns 1..W-1 and rows 1..H-1 are compared.
TEST_F(EnginePicture, PictureSizesCompareAllButTheFirstColumnAndRow) {
    struct Case {
        int width, height, compared;
    };
    const Case cases[] = {{1, 1, 0}, {10, 8, 63}, {256, 256, 255 * 255}, {3, 200, 2 * 199}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const QImage image = PatternPicture(c.width, c.height);
        const int16_t id = Add(QString("p%1x%2.bmp").arg(c.width).arg(c.height), image);
        LoadShown(id, image);
        EXPECT_EQ(box->size(), QSize(c.width, c.height));
        engine.RecordPixels();
        EXPECT_FALSE(box->AutoRedraw());
        engine.TestPixels(id);
        EXPECT_EQ(engine.GetScore(id), 0);

        ASSERT_TRUE(cover.CoverScreen(BoxOnScreen().adjusted(-5, -5, 5, 5)));
        engine.TestPixels(id);
        EXPECT_EQ(engine.GetScore(id), c.compared);
        ASSERT_TRUE(cover.Uncover());
    }
}

TEST_F(EnginePicture, RecordReadsThePictureEvenWhenCovered) {
    const QImage image = PatternPicture(40, 30);
    const int16_t id = Add("a.bmp", image);
    LoadShown(id, image);
    ASSERT_TRUE(cover.CoverScreen(BoxOnScreen()));
    engine.RecordPixels();
    engine.TestPixels(id);
    EXPECT_EQ(engine.GetScore(id), 39 * 29);
    ASSERT_TRUE(cover.Uncover());
    engine.TestPixels(id); // the same index again keeps only the new count
    EXPECT_EQ(engine.GetScore(id), 0);
}

TEST_F(EnginePicture, TheRecordBelongsToTheLastRecordingWhateverTheIndex) {
    const QImage first = PatternPicture(10, 8);
    QImage second = first;
    second.invertPixels();
    const int16_t a = Add("a.bmp", first);
    const int16_t b = Add("b.bmp", second);
    LoadShown(a, first);
    engine.RecordPixels();
    engine.TestPixels(b); // compares the screen with a's record
    EXPECT_EQ(engine.GetScore(b), 0);
    EXPECT_EQ(engine.GetScore(a), 0);
}

TEST_F(EnginePicture, ALargerPictureThanTheRecordFailsAtTheFirstCellOutside) {
    const QImage small = PatternPicture(4, 4);
    QImage larger = PatternPicture(6, 6);
    larger.invertPixels();
    const int16_t a = Add("small.bmp", small);
    const int16_t b = Add("larger.bmp", larger);
    LoadShown(a, small);
    engine.RecordPixels();
    LoadShown(b, larger);
    // Column 1, rows 1..4 differ; row 5 lies outside the record.
    EXPECT_EQ(ErrorOf([&] { engine.TestPixels(b); }), platform::ErrSubscriptOutOfRange);
    EXPECT_EQ(engine.GetScore(b), 4);
}

TEST_F(EnginePicture, NothingRecordedYetFailsAtTheFirstCell) {
    const QImage image = PatternPicture(5, 5);
    const int16_t id = Add("a.bmp", image);
    LoadShown(id, image);
    EXPECT_EQ(ErrorOf([&] { engine.TestPixels(id); }), platform::ErrSubscriptOutOfRange);
    EXPECT_EQ(engine.GetScore(id), 0);
}

TEST_F(EnginePicture, BadIndexesAndBadFilesChangeNothing) {
    const QImage image = PatternPicture(12, 9);
    const int16_t id = Add("a.bmp", image);
    LoadShown(id, image);
    engine.RecordPixels();
    ASSERT_TRUE(cover.CoverScreen(BoxOnScreen()));
    engine.TestPixels(id);
    ASSERT_EQ(engine.GetScore(id), 11 * 8);
    ASSERT_TRUE(cover.Uncover());

    EXPECT_EQ(ErrorOf([&] { engine.TestPixels(99); }), platform::ErrSubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { engine.TestPixels(-1); }), platform::ErrSubscriptOutOfRange);
    EXPECT_EQ(engine.GetScore(id), 11 * 8);
    EXPECT_EQ(ErrorOf([&] { engine.LoadBitmap(99); }), platform::ErrSubscriptOutOfRange);

    engine.AddBitmap(folder.filePath("missing.bmp").toStdString());
    const platform::Picture shown = box->GetPicture();
    EXPECT_EQ(ErrorOf([&] { engine.LoadBitmap(static_cast<int16_t>(engine.GetBitmapCount())); }),
              platform::ErrFileNotFound);
    EXPECT_EQ(box->GetPicture(), shown);
    EXPECT_EQ(box->size(), QSize(12, 9));
}
