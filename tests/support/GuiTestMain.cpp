#include "platform/Application.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    auto app = platform::CreateApplication(argc, argv);
    return RUN_ALL_TESTS();
}
