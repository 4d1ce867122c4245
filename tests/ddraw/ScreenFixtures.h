#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace screentest {

inline QColor ToQColor(int32_t color) {
    return {color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF};
}

inline int32_t FromQRgb(QRgb rgb) {
    return qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16;
}

// What the screen shows, read through Qt's own screen grab.
inline QImage QtScreenImage(const QRect& rect) {
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height())
        .toImage();
}

inline int32_t QtScreenPixel(int x, int y) {
    return FromQRgb(QtScreenImage({x, y, 1, 1}).pixel(0, 0));
}

inline bool WaitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 5000);
}

// A frameless top-level window filled with one colour.
class SolidWindow : public QWidget {
  public:
    SolidWindow(const QRect& geometry, int32_t color, QWidget* parent = nullptr)
        : QWidget(parent), color_(color) {
        if (!parent)
            setWindowFlags(Qt::FramelessWindowHint);
        QPalette palette;
        palette.setColor(QPalette::Window, ToQColor(color));
        setPalette(palette);
        setAutoFillBackground(true);
        setGeometry(geometry);
    }

    // Shown, in place and painted on the screen.
    bool ShowOnScreen() {
        show();
        if (!QTest::qWaitForWindowExposed(this))
            return false;
        const QRect r(mapToGlobal(QPoint(0, 0)), size());
        return WaitFor([&] {
            const QImage image = QtScreenImage(r);
            return FromQRgb(image.pixel(0, 0)) == color_ &&
                   FromQRgb(image.pixel(r.width() - 1, r.height() - 1)) == color_;
        });
    }

  private:
    int32_t color_;
};

// Runs one test of this executable in a child process with extra environment; child tests
// skip themselves unless TW_CHILD_RUN is set. Returns the child's output on success.
inline bool RunChildTest(const QString& test, const QStringList& environment, QString* output) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TW_CHILD_RUN", "1");
    for (const QString& entry : environment)
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=" + test});
    const bool finished = child.waitForFinished(60000);
    *output = QString::fromLocal8Bit(child.readAll());
    return finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
           output->contains("[  PASSED  ] 1 test");
}

inline bool InChildRun() {
    return qEnvironmentVariableIsSet("TW_CHILD_RUN");
}

} // namespace screentest
