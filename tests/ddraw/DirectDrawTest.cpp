#include "platform/ddraw/DirectDraw.h"
#include "platform/Errors.h"
#include "platform/ScreenReader.h"
#include "tests/ddraw/ScreenFixtures.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <array>
#include <bit>
#include <functional>
#include <memory>

using namespace ddraw;
using screentest::SolidWindow;

namespace {

constexpr int32_t kBlack = 0x000000;
constexpr int32_t kGreen = 0x008000;
constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kBlue = 0xFF0000;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int kWidth = 320;
constexpr int kHeight = 240;
const RECT kArea{0, 0, kWidth, kHeight};

DDSURFACEDESC2 BufferDesc() {
    DDSURFACEDESC2 desc;
    desc.lFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.lHeight = kHeight;
    desc.lWidth = kWidth;
    desc.ddsCaps.lCaps = DDSCAPS_VIDEOMEMORY;
    return desc;
}

DDSURFACEDESC2 PrimaryDesc() {
    DDSURFACEDESC2 desc;
    desc.lFlags = DDSD_CAPS;
    desc.ddsCaps.lCaps = DDSCAPS_PRIMARYSURFACE;
    return desc;
}

void Paint(DirectDrawSurface7& surface, int32_t color) {
    surface.SetFillColor(color);
    surface.SetForeColor(color);
    surface.DrawBox(0, 0, kWidth, kHeight);
}

void PaintBox(DirectDrawSurface7& surface, const QRect& box, int32_t fill, int32_t outline) {
    surface.SetFillColor(fill);
    surface.SetForeColor(outline);
    surface.DrawBox(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
}

bool AllOf(const DirectDrawSurface7& surface, int32_t color) {
    const std::vector<int32_t> colors = surface.ReadColors();
    return colors.size() == size_t(kWidth * kHeight) &&
           std::all_of(colors.begin(), colors.end(), [&](int32_t c) { return c == color; });
}

// The stored value of a colour, from the layout a lock reports.
uint32_t StoredValue(const DDPIXELFORMAT& format, int32_t color) {
    const auto place = [](int32_t channel, int32_t mask) {
        return uint32_t(channel) << std::countr_zero(uint32_t(mask));
    };
    return place(color & 0xFF, format.lRBitMask) | place((color >> 8) & 0xFF, format.lGBitMask) |
           place((color >> 16) & 0xFF, format.lBBitMask);
}

// The run's cover window at the top-left corner, three buffers and the primary surface.
class DirectDrawTest : public ::testing::Test {
  public:
    void SetUp() override {
        cover = std::make_unique<SolidWindow>(QRect(0, 0, kWidth, kHeight), kBlack);
        ASSERT_TRUE(cover->ShowOnScreen());
        draw = DirectX7().DirectDrawCreate("");
        draw->SetCooperativeLevel(cover->winId(), DDSCL_NORMAL);
        for (auto& buffer : buffers)
            buffer = draw->CreateSurface(BufferDesc());
        primary = draw->CreateSurface(PrimaryDesc());
    }

    void Swap() {
        buffers[2]->Blt(kArea, *buffers[0], kArea, DDBLT_WAIT);
        buffers[0]->Blt(kArea, *buffers[1], kArea, DDBLT_WAIT);
        buffers[1]->Blt(kArea, *buffers[2], kArea, DDBLT_WAIT);
    }

    // Green with a red mark at the top-left and a blue one at the bottom-right corner,
    // so that flips and shifts show.
    void PaintMarked(DirectDrawSurface7& surface) {
        Paint(surface, kGreen);
        PaintBox(surface, {0, 0, 4, 3}, kRed, kRed);
        PaintBox(surface, {kWidth - 5, kHeight - 2, 5, 2}, kBlue, kBlue);
    }

    std::unique_ptr<SolidWindow> cover;
    std::shared_ptr<DirectDraw7> draw;
    std::array<std::shared_ptr<DirectDrawSurface7>, 3> buffers;
    std::shared_ptr<DirectDrawSurface7> primary;
};

TEST_F(DirectDrawTest, PaintedBuffersStayGreenThroughTheSwap) {
    Paint(*buffers[0], kGreen);
    Paint(*buffers[1], kGreen);
    Swap();
    for (const auto& buffer : buffers)
        EXPECT_TRUE(AllOf(*buffer, kGreen));
}

TEST_F(DirectDrawTest, SwapsExchangeBuffersZeroAndOneThroughTwo) {
    const int32_t a = kRed, b = kBlue, c = kWhite;
    struct Case {
        int swaps;
        std::array<int32_t, 3> after;
    };
    for (const Case& test : {Case{1, {b, a, a}}, Case{2, {a, b, b}}}) {
        Paint(*buffers[0], a);
        Paint(*buffers[1], b);
        Paint(*buffers[2], c);
        for (int i = 0; i < test.swaps; ++i)
            Swap();
        for (size_t i = 0; i < buffers.size(); ++i)
            EXPECT_TRUE(AllOf(*buffers[i], test.after[i])) << test.swaps << " swaps, buffer " << i;
    }
}

TEST_F(DirectDrawTest, BoxHasOutlineInForeColourAroundFill) {
    PaintBox(*buffers[0], {10, 20, 5, 4}, kRed, kBlue);
    const std::vector<int32_t> colors = buffers[0]->ReadColors();
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool inBox = x >= 10 && x < 15 && y >= 20 && y < 24;
            const bool onEdge = x == 10 || x == 14 || y == 20 || y == 23;
            const int32_t expected = !inBox ? kBlack : onEdge ? kBlue : kRed;
            ASSERT_EQ(colors[size_t(y * kWidth + x)], expected) << "at " << x << ", " << y;
        }
}

TEST_F(DirectDrawTest, BltCopiesBetweenRectanglesInPlace) {
    PaintMarked(*buffers[0]);
    const std::vector<int32_t> source = buffers[0]->ReadColors();
    buffers[1]->Blt({100, 50, 110, 60}, *buffers[0], {0, 0, 10, 10}, DDBLT_WAIT);
    buffers[2]->Blt({0, 0, 20, 10}, *buffers[0], {kWidth - 20, kHeight - 10, kWidth, kHeight},
                    DDBLT_WAIT);

    const std::vector<int32_t> topLeft = buffers[1]->ReadColors();
    const std::vector<int32_t> bottomRight = buffers[2]->ReadColors();
    const auto at = [](const std::vector<int32_t>& colors, int x, int y) {
        return colors[size_t(y * kWidth + x)];
    };
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool inFirst = x >= 100 && x < 110 && y >= 50 && y < 60;
            ASSERT_EQ(at(topLeft, x, y), inFirst ? at(source, x - 100, y - 50) : kBlack)
                << x << ", " << y;
            const bool inSecond = x < 20 && y < 10;
            ASSERT_EQ(at(bottomRight, x, y),
                      inSecond ? at(source, kWidth - 20 + x, kHeight - 10 + y) : kBlack)
                << x << ", " << y;
        }
}

TEST_F(DirectDrawTest, BltToPrimaryShowsTheBufferTopLeft) {
    PaintMarked(*buffers[1]);
    const std::vector<int32_t> expected = buffers[1]->ReadColors();
    const int32_t right = screentest::QtScreenPixel(kWidth, 0);
    const int32_t below = screentest::QtScreenPixel(0, kHeight);

    primary->Blt(kArea, *buffers[1], kArea, DDBLT_WAIT);

    const QImage screen = screentest::QtScreenImage({0, 0, kWidth + 1, kHeight + 1});
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(screentest::FromQRgb(screen.pixel(x, y)), expected[size_t(y * kWidth + x)])
                << "at " << x << ", " << y;
    EXPECT_EQ(screentest::FromQRgb(screen.pixel(kWidth, 0)), right);
    EXPECT_EQ(screentest::FromQRgb(screen.pixel(0, kHeight)), below);
}

TEST_F(DirectDrawTest, LockOverCleanAreaReadsOneValueEverywhere) {
    Paint(*buffers[1], kGreen);
    primary->Blt(kArea, *buffers[1], kArea, DDBLT_WAIT);
    DDSURFACEDESC2 desc;
    primary->Lock(kArea, desc, DDLOCK_WAIT, cover->winId());

    const int32_t reference = primary->GetLockedPixel(1, 1);
    EXPECT_EQ(uint32_t(reference), StoredValue(desc.ddpfPixelFormat, kGreen));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(primary->GetLockedPixel(x, y), reference) << "at " << x << ", " << y;
    primary->Unlock(kArea);

    // The buffer stores the value that the screen shows for it.
    DDSURFACEDESC2 bufferDesc;
    buffers[1]->Lock(kArea, bufferDesc, DDLOCK_WAIT, 0);
    EXPECT_EQ(buffers[1]->GetLockedPixel(5, 7), reference);
    buffers[1]->Unlock(kArea);
}

TEST_F(DirectDrawTest, WindowOverTheAreaChangesExactlyItsPixelsInTheLock) {
    Paint(*buffers[1], kGreen);
    primary->Blt(kArea, *buffers[1], kArea, DDBLT_WAIT);
    const QRect over(50, 60, 40, 30);
    SolidWindow window(over, kRed);
    ASSERT_TRUE(window.ShowOnScreen());
    ASSERT_EQ(QRect(window.mapToGlobal(QPoint(0, 0)), window.size()), over);

    DDSURFACEDESC2 desc;
    primary->Lock(kArea, desc, DDLOCK_WAIT, cover->winId());
    const int32_t reference = primary->GetLockedPixel(1, 1);
    int marks = 0;
    for (int x = 1; x <= 317; ++x)
        for (int y = 1; y <= 237; ++y) {
            const int32_t value = primary->GetLockedPixel(x, y);
            if (value != reference) {
                ++marks;
                EXPECT_TRUE(over.contains(x, y)) << "at " << x << ", " << y;
                EXPECT_EQ(uint32_t(value), StoredValue(desc.ddpfPixelFormat, kRed));
            }
        }
    primary->Unlock(kArea);
    EXPECT_EQ(marks, over.width() * over.height());
}

TEST_F(DirectDrawTest, SurfacesOutliveTheirDirectDrawObject) {
    draw.reset();
    Paint(*buffers[0], kRed);
    buffers[1]->Blt(kArea, *buffers[0], kArea, DDBLT_WAIT);
    EXPECT_TRUE(AllOf(*buffers[1], kRed));
}

struct FailureCase {
    const char* name;
    std::function<void(DirectDrawTest&)> request;
    const char* message;
    // What must still hold after the failure.
    std::function<void(DirectDrawTest&)> afterwards = [](DirectDrawTest&) {};
};

DDSURFACEDESC2 scratchDesc;

const FailureCase kFailures[] = {
    {"LockOutsideTheScreen",
     [](DirectDrawTest& t) {
         t.primary->Lock({1270, 1000, 1290, 1030}, scratchDesc, 0, 0);
     },
     "the lock rectangle (1270, 1000)-(1290, 1030) lies outside the"},
    {"LockWhileLocked",
     [](DirectDrawTest& t) {
         t.primary->Lock(kArea, scratchDesc, DDLOCK_WAIT, 0);
         t.primary->Lock({0, 0, 10, 10}, scratchDesc, DDLOCK_WAIT, 0);
     },
     "is already locked",
     [](DirectDrawTest& t) {
         EXPECT_EQ(t.primary->GetLockedPixel(319, 239), t.primary->GetLockedPixel(0, 0));
         t.primary->Unlock(kArea);
     }},
    {"UnlockWhileNotLocked", [](DirectDrawTest& t) { t.primary->Unlock(kArea); }, "is not locked"},
    {"UnlockAnotherRectangle",
     [](DirectDrawTest& t) {
         t.primary->Lock(kArea, scratchDesc, DDLOCK_WAIT, 0);
         t.primary->Unlock({0, 0, 10, 10});
     },
     "is not the locked rectangle (0, 0)-(320, 240)"},
    {"ReadWhileNotLocked", [](DirectDrawTest& t) { t.primary->GetLockedPixel(1, 1); },
     "lock it before reading"},
    {"ReadOutsideTheLock",
     [](DirectDrawTest& t) {
         t.primary->Lock({0, 0, 10, 10}, scratchDesc, DDLOCK_WAIT, 0);
         t.primary->GetLockedPixel(10, 0);
     },
     "pixel (10, 0) lies outside the locked rectangle (0, 0)-(10, 10)"},
    {"CopyFromOutsideTheSurface",
     [](DirectDrawTest& t) {
         t.buffers[2]->Blt({0, 0, 321, 240}, *t.buffers[0], {0, 0, 321, 240}, DDBLT_WAIT);
     },
     "lies outside the 320 x 240 surface"},
    {"CopyOfAnEmptyRectangle",
     [](DirectDrawTest& t) {
         t.buffers[2]->Blt({10, 10, 10, 20}, *t.buffers[0], {10, 10, 10, 20}, DDBLT_WAIT);
     },
     "rectangle (10, 10)-(10, 20) is empty"},
    {"CopyWithUnsupportedFlags",
     [](DirectDrawTest& t) { t.buffers[2]->Blt(kArea, *t.buffers[0], kArea, 0x400); },
     "Blt flags 0x400 are not supported"},
    {"CopyToTheScreenBeyondTheWindow",
     [](DirectDrawTest& t) {
         t.primary->Blt({1, 0, 321, 240}, *t.buffers[0], kArea, DDBLT_WAIT);
     },
     "not inside the cooperative window"},
    {"CopyToTheScreenWithTheWindowHidden",
     [](DirectDrawTest& t) {
         t.cover->hide();
         t.primary->Blt(kArea, *t.buffers[0], kArea, DDBLT_WAIT);
     },
     "is not shown"},
    {"CopyToTheScreenWithTheWindowGone",
     [](DirectDrawTest& t) {
         t.cover.reset();
         t.primary->Blt(kArea, *t.buffers[0], kArea, DDBLT_WAIT);
     },
     "no longer exists"},
    {"CopyIntoALockedSurface",
     [](DirectDrawTest& t) {
         t.buffers[1]->Lock(kArea, scratchDesc, DDLOCK_WAIT, 0);
         t.buffers[1]->Blt(kArea, *t.buffers[0], kArea, DDBLT_WAIT);
     },
     "is locked; unlock it before copying onto it"},
    {"SurfaceWithoutCooperativeLevel",
     [](DirectDrawTest&) { DirectX7().DirectDrawCreate("")->CreateSurface(BufferDesc()); },
     "set the cooperative level before creating surfaces"},
    {"CooperativeLevelForAMissingWindow",
     [](DirectDrawTest& t) {
         const WId gone = t.cover->winId();
         t.cover.reset();
         DirectX7().DirectDrawCreate("")->SetCooperativeLevel(gone, DDSCL_NORMAL);
     },
     "there is no window"},
    {"AnotherDisplayDevice", [](DirectDrawTest&) { DirectX7().DirectDrawCreate("{device}"); },
     "no display device \"{device}\""},
};

class DirectDrawFailureTest : public DirectDrawTest,
                              public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DirectDrawFailureTest, FailsWithAClearMessage) {
    try {
        GetParam().request(*this);
        FAIL() << "no failure";
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.Number(), platform::ErrInvalidProcedureCall);
        EXPECT_EQ(error.Description().rfind("DirectDraw: ", 0), 0u) << error.what();
        EXPECT_NE(error.Description().find(GetParam().message), std::string::npos) << error.what();
    }
    GetParam().afterwards(*this);
}

INSTANTIATE_TEST_SUITE_P(Requests, DirectDrawFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

// Without OpenGL there are no surfaces in video memory; the screen still reads.
TEST(DirectDrawChild, WithoutOpenGL) {
    if (!screentest::InChildRun())
        GTEST_SKIP() << "runs in a child process";
    SolidWindow cover(QRect(0, 0, kWidth, kHeight), kBlack);
    ASSERT_TRUE(cover.ShowOnScreen());
    auto draw = DirectX7().DirectDrawCreate("");
    draw->SetCooperativeLevel(cover.winId(), DDSCL_NORMAL);
    try {
        draw->CreateSurface(BufferDesc());
        FAIL() << "no failure";
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.Number(), platform::ErrAutomation);
        EXPECT_NE(error.Description().find("no OpenGL context"), std::string::npos) << error.what();
    }
    auto primary = draw->CreateSurface(PrimaryDesc());
    DDSURFACEDESC2 desc;
    primary->Lock(kArea, desc, DDLOCK_WAIT, 0);
    EXPECT_EQ(primary->GetLockedPixel(5, 5), primary->GetLockedPixel(300, 200));
    primary->Unlock(kArea);
}

TEST(DirectDraw, SurfaceCreationFailsWithoutOpenGL) {
    QTemporaryDir noDrivers;
    const QStringList environments[] = {
        {"QT_XCB_GL_INTEGRATION=none"},
        {"LIBGL_DRIVERS_PATH=" + noDrivers.path()},
    };
    for (const QStringList& environment : environments) {
        QString output;
        EXPECT_TRUE(screentest::RunChildTest("DirectDrawChild.WithoutOpenGL", environment, &output))
            << environment.join(' ').toStdString() << "\n"
            << output.toStdString();
    }
}

} // namespace
