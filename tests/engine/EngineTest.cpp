#include "engine/clsCorvantis.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

using platform::RuntimeError;

TEST(EngineBitmapList, NewEngineIsEmpty) {
    clsCorvantis engine;
    EXPECT_EQ(engine.GetBitmapCount(), -1);
    EXPECT_EQ(engine.GetScore(0), 0);
    EXPECT_THROW(engine.GetScore(1), RuntimeError);
    ASSERT_FALSE(engine.GetPath().empty());
    EXPECT_EQ(engine.GetPath().back(), '/');
    EXPECT_NE(engine.GetPath().substr(engine.GetPath().size() - 2), "//");
}

TEST(EngineBitmapList, AddingAndClearing) {
    clsCorvantis engine;
    engine.AddBitmap("/a.bmp");
    engine.AddBitmap("/b.bmp");
    engine.AddBitmap("/a.bmp");
    EXPECT_EQ(engine.GetBitmapCount(), 2);
    EXPECT_EQ(engine.GetBitmapPath(0), "/a.bmp");
    EXPECT_EQ(engine.GetBitmapPath(2), "/a.bmp");
    EXPECT_EQ(engine.GetBitmapPath(3), "");
    for (int16_t id = 0; id <= 3; ++id)
        EXPECT_EQ(engine.GetScore(id), 0);
    try {
        engine.GetScore(4);
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), platform::ErrSubscriptOutOfRange);
    }
    EXPECT_THROW(engine.GetScore(-1), RuntimeError);

    engine.ClearBitmaps();
    EXPECT_EQ(engine.GetBitmapCount(), -1);
    EXPECT_THROW(engine.GetScore(1), RuntimeError);
    engine.AddBitmap("/c.bmp");
    EXPECT_EQ(engine.GetBitmapPath(0), "/c.bmp");
}

TEST(EngineConsole, AppendsLinesAndPutsTheCaretAtTheEnd) {
    clsCorvantis engine;
    EXPECT_THROW(engine.ConsoleTextAdd("no console"), RuntimeError);

    platform::TextBox box(nullptr, 0, 0, 3000, 1500, platform::TextBox::ScrollBars::Vertical);
    box.SetText("earlier\r\n");
    engine.SetConsoleObject(&box);
    EXPECT_TRUE(box.Locked());
    EXPECT_EQ(box.Text().rfind("earlier\r\nCorvantis 2.0 Engine instance created.\r\n", 0), 0u);

    box.SetText("");
    engine.ConsoleTextAdd("a");
    engine.ConsoleTextAdd("b");
    EXPECT_EQ(box.Text(), "a\r\nb\r\n");
    EXPECT_EQ(box.SelStart(), 6);
    engine.ConsoleTextAdd("");
    EXPECT_EQ(box.Text(), "a\r\nb\r\n\r\n");
}
