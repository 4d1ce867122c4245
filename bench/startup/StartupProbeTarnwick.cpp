// Tarnwick5's own start-up, ended as soon as the main window shows its filled console.
#include "bench/startup/ProbeReport.h"
#include "main/frmMain.h"
#include "platform/Application.h"
#include "platform/Runtime.h"
#include "platform/ScreenReader.h"

#include <QApplication>

int main(int argc, char** argv) {
    auto app = platform::CreateApplication(argc, argv);
    frmMain::Instance();
    platform::DoEvents();
    platform::SyncWithServer();
    ReportReadyAndEnd();
}
