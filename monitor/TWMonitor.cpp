#include "monitor/frmMain.h"
#include "platform/Application.h"
#include "platform/Errors.h"

#include <QApplication>

int main(int argc, char** argv) {
    auto app = platform::CreateApplication(argc, argv, platform::Graphics::WidgetsOnly);
    QApplication::setApplicationName(QStringLiteral("TWMonitor"));
    platform::RunHandler([] { monitor::frmMain::Instance().Show(); });
    return platform::RunEventLoop();
}
