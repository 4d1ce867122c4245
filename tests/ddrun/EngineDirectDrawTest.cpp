#include "platform/Errors.h"
#include "tests/ddrun/RunFixture.h"

#include <algorithm>
#include <array>

using namespace ddrun;

namespace {

constexpr int32_t kGreen = 0x008000; // palette colour 2
constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kBlue = 0xFF0000;
constexpr int32_t kWhite = 0xFFFFFF;
const ddraw::RECT kArea{0, 0, 320, 240};

clsCorvantis& Engine() {
    return *MainWindow().Corvantis;
}

void Paint(int buffer, int32_t color) {
    ddraw::DirectDrawSurface7& surface = Engine().GetBuffer(buffer);
    surface.SetFillColor(color);
    surface.SetForeColor(color);
    surface.DrawBox(0, 0, 320, 240);
}

bool AllOf(int buffer, int32_t color) {
    const std::vector<int32_t> colors = Engine().GetBuffer(buffer).ReadColors();
    return colors.size() == 320u * 240u &&
           std::all_of(colors.begin(), colors.end(), [&](int32_t c) { return c == color; });
}

// The cover window on the screen for the copies to the screen.
struct ShownCover {
    ShownCover() {
        frmDXTestBed::Instance().Show();
        shown = QTest::qWaitForWindowExposed(&frmDXTestBed::Instance());
    }
    ~ShownCover() { frmDXTestBed::Instance().Hide(); }
    bool shown = false;
};

} // namespace

TEST(EngineDirectDraw, PrepareAndOneSwapLeaveAllThreeBuffersGreen) {
    Paint(0, kRed);
    Paint(1, kBlue);
    Paint(2, kWhite);
    MainWindow().txtConsole->SetText("");
    Engine().PrepareDXBuffers();
    EXPECT_EQ(testsupport::Lines(MainWindow().txtConsole->Text()),
              QStringList({"DirectX flip buffers initialized"}));
    EXPECT_TRUE(AllOf(0, kGreen));
    EXPECT_TRUE(AllOf(1, kGreen));
    EXPECT_TRUE(AllOf(2, kWhite)) << "buffer 2 is not painted";
    Engine().SwapBuffers();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(AllOf(i, kGreen)) << "buffer " << i;
}

TEST(EngineDirectDraw, SwapsExchangeBuffersZeroAndOneThroughTwo) {
    const int32_t a = kRed, b = kBlue, c = kWhite;
    struct Case {
        int swaps;
        std::array<int32_t, 3> after;
    };
    for (const Case& test : {Case{1, {b, a, a}}, Case{2, {a, b, b}}}) {
        Paint(0, a);
        Paint(1, b);
        Paint(2, c);
        for (int i = 0; i < test.swaps; ++i)
            Engine().SwapBuffers();
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(AllOf(i, test.after[size_t(i)])) << test.swaps << " swaps, buffer " << i;
    }
}

TEST(EngineDirectDraw, BltFrontShowsBufferOneInTheCornerOnly) {
    ShownCover cover;
    ASSERT_TRUE(cover.shown);
    // A mark in two corners shows a flipped or shifted copy.
    Paint(1, kGreen);
    ddraw::DirectDrawSurface7& buffer = Engine().GetBuffer(1);
    buffer.SetFillColor(kRed);
    buffer.SetForeColor(kRed);
    buffer.DrawBox(0, 0, 3, 2);
    buffer.SetFillColor(kBlue);
    buffer.SetForeColor(kBlue);
    buffer.DrawBox(316, 237, 320, 240);
    const std::vector<int32_t> expected = buffer.ReadColors();
    const int32_t right = ScreenColor(320, 0);
    const int32_t below = ScreenColor(0, 240);

    Engine().BltFront();

    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 321, 241).toImage();
    const auto at = [&](int x, int y) {
        const QRgb rgb = screen.pixel(x, y);
        return qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16;
    };
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(at(x, y), expected[size_t(y * 320 + x)]) << "at " << x << ", " << y;
    EXPECT_EQ(at(320, 0), right);
    EXPECT_EQ(at(0, 240), below);
}

TEST(EngineDirectDraw, EveryLockCoversTheCornerArea) {
    ShownCover cover;
    ASSERT_TRUE(cover.shown);
    Engine().PrepareDXBuffers();
    Engine().BltFront();
    for (int lock = 0; lock < 2; ++lock) {
        Engine().LockPrimary();
        const int32_t reference = Engine().ReadLockedPixel(1, 1);
        EXPECT_EQ(Engine().ReadLockedPixel(0, 0), reference);
        EXPECT_EQ(Engine().ReadLockedPixel(319, 239), reference);
        EXPECT_THROW(Engine().ReadLockedPixel(320, 0), platform::RuntimeError);
        EXPECT_THROW(Engine().ReadLockedPixel(0, 240), platform::RuntimeError);
        Engine().UnlockPrimary();
    }
}
