#include "main/frmMain.h"
#include "platform/Application.h"
#include "platform/Errors.h"

#include <QApplication>

int main(int argc, char** argv) {
    auto app = platform::CreateApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick5"));
    platform::RunHandler([] { frmMain::Instance(); });
    return platform::RunEventLoop();
}
