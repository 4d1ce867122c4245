#include "platform/Runtime.h"

#include "platform/Errors.h"

#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLockFile>
#include <QStandardPaths>
#include <QTime>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace platform {

namespace detail {
uint64_t screenGeneration = 0;
}

void DoEvents() {
    ScreenMayHaveChanged();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    ScreenMayHaveChanged();
}

double Timer() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

double MonotonicSeconds() {
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

void PumpEventsFor(double seconds) {
    ScreenMayHaveChanged();
    const double end = MonotonicSeconds() + seconds;
    // processEvents with a time limit drops WaitForMoreEvents and spins; a timer wakes the
    // waiting pump instead. Timers wake up to a millisecond late, so the last millisecond
    // is pumped without waiting.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (double now = MonotonicSeconds(); now < end; now = MonotonicSeconds()) {
        const int waitMs = static_cast<int>(std::floor((end - now) * 1000.0)) - 1;
        if (waitMs <= 0) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            continue;
        }
        wake.start(waitMs);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    ScreenMayHaveChanged();
}

std::string AppPath() {
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder.toLocal8Bit().toStdString();
}

namespace {

// One copy per display, as one copy per desktop session: copies on other displays of
// the same user do not count. ":1.0" and ":1" are the same display.
QString DisplaySuffix() {
    QString display = qEnvironmentVariable("DISPLAY");
    const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
    const qsizetype dot = display.indexOf(QLatin1Char('.'), colon + 1);
    if (colon >= 0 && dot > colon)
        display.truncate(dot);
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    return display.isEmpty() ? QString() : QLatin1Char('-') + display;
}

} // namespace

bool AnotherInstanceRunning(const std::string& programName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    // Held for the life of the process; the system drops it when the process ends.
    static std::unique_ptr<QLockFile> lock;
    if (lock)
        return false;
    auto candidate = std::make_unique<QLockFile>(folder + QLatin1Char('/') +
                                                 QString::fromStdString(programName) +
                                                 DisplaySuffix() + QStringLiteral(".lock"));
    candidate->setStaleLockTime(0);
    if (!candidate->tryLock(0))
        return true;
    lock = std::move(candidate);
    return false;
}

void End(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

// SetWindowTopmost asks the window manager, beside the other window requests
// (WindowActivation.cpp).

void GetCursorPos(POINTAPI& point) {
    const QPoint position = QCursor::pos();
    point.x = position.x();
    point.y = position.y();
}

} // namespace platform
