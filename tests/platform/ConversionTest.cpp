#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Forms.h"
#include "platform/Palette.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(NumberConversion, HalvesGoToTheEvenNeighbour) {
    const struct {
        double in;
        int32_t out;
    } cases[] = {{2.5, 2},     {7.5, 8},  {3.5, 4},     {-2.5, -2},  {-3.5, -4},
                 {0.5, 0},     {1.5, 2},  {2.4999, 2},  {2.5001, 3}, {239.5, 240},
                 {138.5, 138}, {-0.4, 0}, {189.5, 190}, {-7.5, -8}};
    for (const auto& c : cases)
        EXPECT_EQ(CLng(c.in), c.out) << c.in;
}

TEST(NumberConversion, OutOfRangeRaisesOverflow) {
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.0), -32768);
    for (double tooLarge : {32767.5, 40000.0, -32768.6}) {
        try {
            CInt(tooLarge);
            FAIL() << tooLarge;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), ErrOverflow);
        }
    }
    EXPECT_THROW(CLng(3e9), RuntimeError);
}

TEST(NumberConversion, IntegersBecomePlainDigits) {
    EXPECT_EQ(Str(0), "0");
    EXPECT_EQ(Str(17), "17");
    EXPECT_EQ(Str(-5), "-5");
    EXPECT_EQ("Loading bitmap" + Str(12), "Loading bitmap12");
}

TEST(Palette, NamedColours) {
    EXPECT_EQ(QBColor(0), 0x000000);
    EXPECT_EQ(QBColor(2), 0x008000);
    EXPECT_EQ(QBColor(9), 0xFF0000);
    EXPECT_EQ(QBColor(12), 0x0000FF);
    EXPECT_EQ(QBColor(15), 0xFFFFFF);
    EXPECT_THROW(QBColor(16), RuntimeError);
    EXPECT_THROW(QBColor(-1), RuntimeError);
}

// A control left at its design colours must show its text: system text colours differ from
// the faces they are drawn on.
TEST(Palette, SystemColoursKeepTextReadable) {
    const QColor buttonFace = ToQColor(SystemColour(15));
    EXPECT_EQ(ToQColor(SystemColour(18)), QColor(Qt::black)); // button text
    EXPECT_EQ(ToQColor(SystemColour(8)), QColor(Qt::black));  // window text
    EXPECT_EQ(ToQColor(SystemColour(5)), QColor(Qt::white));  // window background
    EXPECT_NE(ToQColor(SystemColour(18)), buttonFace);
    EXPECT_NE(ToQColor(SystemColour(17)), buttonFace); // grey text
    EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));  // plain values are 0x00BBGGRR
}
