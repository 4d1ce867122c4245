#include "tests/ddrun/RunFixture.h"

using namespace ddrun;

TEST(EngineDirectDraw, Placeholder) {
    EXPECT_TRUE(MainWindow().Corvantis->DirectXReady());
}
