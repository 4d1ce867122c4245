#pragma once

#include "main/frmDXTestBed.h"
#include "main/frmMain.h"
#include "main/frmStatus.h"
#include "tests/support/TestSupport.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& lines, std::ostream* out) {
    *out << "\n  " << lines.join("\n  ").toStdString();
}
QT_END_NAMESPACE

namespace ddrun {

constexpr int kNoStrength = -1;
constexpr int kWeak = 0;
constexpr int kAverage = 1;

inline frmMain& MainWindow() {
    static bool arranged = false;
    if (!arranged) {
        testsupport::MakeSet("Run", {"a.bmp"});
        testsupport::WriteProgramFile("Curset.ini", "Run\r\n");
        arranged = true;
    }
    frmMain& main = frmMain::Instance();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
    return main;
}

inline void ChooseStrength(int index) {
    frmMain& main = MainWindow();
    for (size_t i = 0; i < main.opnDXTest.size(); ++i)
        main.opnDXTest[i]->SetValue(static_cast<int>(i) == index);
}

// The next run creates the progress window anew.
inline void UnloadStatusWindow() {
    if (frmStatus::IsLoaded())
        frmStatus::Instance().Unload();
}

inline int32_t ScreenColor(int x, int y) {
    const QRgb rgb =
        QGuiApplication::primaryScreen()->grabWindow(0, x, y, 1, 1).toImage().pixel(0, 0);
    return qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16;
}

// What a run showed and wrote, watched from inside its pauses.
struct RunRecord {
    QStringList console;      // lines the run added
    QStringList progress;     // each progress text seen, in order, without repeats
    bool statusShown = false; // frmStatus seen visible
    bool coverShown = false;  // frmDXTestBed seen visible
    double seconds = 0;
};

// Clicks "Begin Test" with DirectX testing chosen. onTick runs at every watch during the
// run's pauses with the progress text seen then.
inline RunRecord BeginDirectDrawTest(const std::function<void(const QString&)>& onTick = {}) {
    frmMain& main = MainWindow();
    main.opnDXTesting->SetValue(true);
    main.txtConsole->SetText("");
    RunRecord record;
    QTimer watch;
    watch.setInterval(1);
    watch.setTimerType(Qt::PreciseTimer);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QString progress;
        if (frmStatus::IsLoaded()) {
            frmStatus& status = frmStatus::Instance();
            record.statusShown |= status.isVisible();
            progress = QString::fromStdString(status.lblPrcnt->Caption());
            if (record.progress.isEmpty() || record.progress.last() != progress)
                record.progress << progress;
        }
        record.coverShown |= frmDXTestBed::IsLoaded() && frmDXTestBed::Instance().isVisible();
        if (onTick)
            onTick(progress);
    });
    watch.start();
    QElapsedTimer clock;
    clock.start();
    main.lblButtons_Click(0);
    record.seconds = double(clock.nsecsElapsed()) / 1e9;
    watch.stop();
    record.console = testsupport::Lines(main.txtConsole->Text());
    return record;
}

inline const QStringList kCleanRunLines = {"DirectX flip buffers initialized",
                                           "You recieved 0 DXArtifactMarks.",
                                           "No aritfacts detected!  Please overclock some more!"};

} // namespace ddrun
