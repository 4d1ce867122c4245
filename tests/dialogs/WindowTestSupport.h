#pragma once

// What the window tests of the buttons and dialogs share: answering message boxes,
// real pointer input through the X server, and the processes the program starts.

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace windowtest {

// Answers every message box that opens while it lives: keeps its text and presses OK, so
// that a handler showing one returns.
class MessageBoxWatch {
  public:
    MessageBoxWatch() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
        timer_.start();
    }
    const QStringList& Texts() const { return texts_; }

  private:
    void Answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || answered_.contains(box))
            return;
        answered_ << box;
        texts_ << box->text();
        box->button(QMessageBox::Ok)->click();
    }
    QTimer timer_;
    QStringList texts_;
    QList<QMessageBox*> answered_;
};

// Waits, handling events, until the condition holds; false when it never did.
template <class Condition> bool Eventually(Condition condition, int timeoutMs = 5000) {
    return QTest::qWaitFor(condition, timeoutMs);
}

// Real pointer input, through the X server: xdotool's arguments as given.
inline void Xdotool(const QStringList& arguments) {
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}
inline void PointerTo(const QPoint& screen) {
    // A synchronous move waits for a motion, which never comes when it is there already.
    if (QCursor::pos() == screen)
        return;
    Xdotool({"mousemove", "--sync", QString::number(screen.x()), QString::number(screen.y())});
}
inline void PointerToCentreOf(const QWidget* widget) {
    PointerTo(widget->mapToGlobal(widget->rect().center()));
}
// Clicks a widget's centre with an X button (1 left, 2 middle, 3 right).
inline void ClickCentreOf(const QWidget* widget, int xButton) {
    PointerToCentreOf(widget);
    Xdotool({"click", QString::number(xButton)});
}

// Whether a process shows a window on the X server.
inline bool HasVisibleWindow(pid_t pid) {
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {"search", "--onlyvisible", "--pid", QString::number(pid)});
    search.waitForFinished();
    return !search.readAllStandardOutput().trimmed().isEmpty();
}

// Started programs detach from their starter; as the reaper of orphans this process
// becomes their parent and sees each one, running or ended, until it reaps it.
inline void AdoptDetachedProcesses() {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
}

inline std::string StatOf(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    return stat.readAll().toStdString();
}
// The short command name of a process.
inline std::string CommandOf(pid_t pid) {
    const std::string stat = StatOf(pid);
    const size_t open = stat.find('(');
    const size_t close = stat.rfind(')');
    return open == std::string::npos || close == std::string::npos
               ? std::string()
               : stat.substr(open + 1, close - open - 1);
}
inline bool HasEnded(pid_t pid) {
    const std::string stat = StatOf(pid);
    const size_t close = stat.rfind(')');
    return stat.empty() || (close != std::string::npos && stat.compare(close + 2, 1, "Z") == 0);
}

// This process's children with the given command name, ended ones not yet reaped included.
inline std::vector<pid_t> ChildrenNamed(const std::string& command) {
    std::vector<pid_t> found;
    const QStringList tasks =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& task : tasks) {
        QFile children(QStringLiteral("/proc/self/task/%1/children").arg(task));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& pid : children.readAll().split(' ')) {
            bool ok = false;
            const pid_t child = pid.trimmed().toInt(&ok);
            if (ok && CommandOf(child) == command)
                found.push_back(child);
        }
    }
    return found;
}

// Ends a process this test started and reaps it; returns its wait status.
inline int EndAndReap(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

} // namespace windowtest
