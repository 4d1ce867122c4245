#include "platform/Controls.h"

#include <QWidget>
#include <gtest/gtest.h>

using platform::OptionButton;

// Buttons in one container are one group; each holds its button in a widget of its own.
TEST(OptionButton, GroupsByContainer) {
    QWidget window;
    QWidget* frameA = new QWidget(&window);
    QWidget* frameB = new QWidget(&window);
    auto* a1 = new OptionButton(frameA, "a1", 0, 0, 900, 255);
    auto* a2 = new OptionButton(frameA, "a2", 0, 300, 900, 255);
    auto* b1 = new OptionButton(frameB, "b1", 0, 0, 900, 255, OptionButton::Style::Graphical);

    a1->SetValue(true);
    b1->SetValue(true);
    a2->Button()->click();
    EXPECT_FALSE(a1->Value());
    EXPECT_TRUE(a2->Value());
    EXPECT_TRUE(b1->Value()) << "another container's choice stays";

    a1->Button()->click();
    EXPECT_TRUE(a1->Value());
    EXPECT_FALSE(a2->Value());

    // Clearing the chosen button leaves none chosen; the group stays exclusive after.
    a1->SetValue(false);
    EXPECT_FALSE(a1->Value());
    EXPECT_FALSE(a2->Value());
    a2->Button()->click();
    a1->Button()->click();
    EXPECT_TRUE(a1->Value());
    EXPECT_FALSE(a2->Value());
}
