#include "platform/Application.h"

#include "platform/Errors.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace platform {

std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv, Graphics graphics) {
    // One Qt pixel is one screen pixel.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    // Screen read-back and window stacking need the X server.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // The web view's sandbox cannot run as root.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (graphics == Graphics::SharedOpenGL)
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    auto app = std::make_unique<QApplication>(argc, argv);
    app->setQuitOnLastWindowClosed(false);
    return app;
}

int RunEventLoop() { return QApplication::exec(); }

void ShowRuntimeErrorAndEnd(const RuntimeError& error) {
    const QString text = QStringLiteral("Run-time error '%1':\n\n%2")
                             .arg(error.Number())
                             .arg(QString::fromStdString(error.Description()));
    std::fprintf(stderr, "%s\n", qPrintable(text));
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), text,
                    QMessageBox::Ok);
    box.exec();
    std::fflush(nullptr);
    std::_Exit(1);
}

void RunHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const RuntimeError& error) {
        ShowRuntimeErrorAndEnd(error);
    }
}

} // namespace platform
