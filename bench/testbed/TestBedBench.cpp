// A whole software test over one 256 x 256 bitmap, split into record, sweep, pump and
// compare, against its floor: 71,901 moves of a native child window of that size and one
// screen grab of its area. Both run in each iteration, so they see the same machine.
#include "main/frmMain.h"
#include "platform/Application.h"
#include "platform/Errors.h"
#include "platform/ScreenReader.h"
#include "testbed/frmTestBed.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

#include <vector>

namespace {

QImage PatternPicture() {
    QImage image(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgb(x, y, (x + y) & 0xFF));
    return image;
}

// A window like the test bed holding a native child window like its picture.
class FloorWindow : public QWidget {
  public:
    FloorWindow() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint) {
        resize(635, 535);
        setAutoFillBackground(true);
        setPalette(QPalette(Qt::black));
        child = new Picture(this);
    }
    struct Picture : QWidget {
        explicit Picture(QWidget* parent) : QWidget(parent), image(PatternPicture()) {
            setAttribute(Qt::WA_NativeWindow);
            setAttribute(Qt::WA_OpaquePaintEvent);
            resize(256, 256);
        }
        void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, image); }
        QImage image;
    };
    Picture* child;
};

// Seconds since the benchmark's clock started, at each phase boundary of one run.
struct PhaseClock : QObject {
    QElapsedTimer clock;
    double shown = 0, loading = 0, recording = 0, testing = 0, pumped = 0, checking = 0,
           reported = 0;

    PhaseClock() {
        clock.start();
        qApp->installEventFilter(this);
    }
    ~PhaseClock() override { qApp->removeEventFilter(this); }
    double Now() const { return static_cast<double>(clock.nsecsElapsed()) / 1e9; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && dynamic_cast<frmTestBed*>(watched) && shown == 0)
            shown = Now();
        if (event->type() != QEvent::WindowTitleChange)
            return false;
        auto* bed = dynamic_cast<frmTestBed*>(watched);
        if (!bed)
            return false;
        const std::string caption = bed->Caption();
        if (caption.starts_with("Recording")) {
            recording = Now();
        } else if (caption.starts_with("Testing")) {
            testing = Now();
            // Delivered first thing in the pump after the sweep.
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        } else if (caption.starts_with("Checking")) {
            checking = Now();
        }
        return false;
    }
    void customEvent(QEvent*) override { pumped = Now(); }
};

void BM_SoftwareTest256(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath("bench.bmp");
    PatternPicture().save(path, "BMP");
    frmMain& main = frmMain::Instance();
    main.Corvantis->ClearBitmaps();
    main.Corvantis->AddBitmap(path.toStdString());

    std::vector<QPoint> sweep;
    ForEachSweepAngle([&](double a) {
        const SweepPoint p = SweepPosition(a, 635, 535, 256, 256);
        sweep.emplace_back(p.left, p.top);
    });
    FloorWindow floor;

    double create = 0, firstPump = 0, load = 0, floorSum = 0, runSum = 0, record = 0, moves = 0,
           pump = 0, compare = 0, after = 0;
    for (auto _ : state) {
        floor.show();
        if (!QTest::qWaitForWindowExposed(&floor)) {
            state.SkipWithError("floor window not shown");
            return;
        }
        QElapsedTimer clock;
        clock.start();
        for (const QPoint& to : sweep)
            floor.child->move(to);
        const QPoint origin = floor.child->mapToGlobal(QPoint(0, 0));
        benchmark::DoNotOptimize(platform::ScreenGrab::Take(origin.x(), origin.y(), 256, 256));
        const double floorSeconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        floor.hide();
        QTest::qWait(50); // let the window manager settle between the two, outside the timing

        main.txtConsole->SetText("");
        PhaseClock phases;
        QObject::connect(main.txtConsole, &QPlainTextEdit::textChanged, &phases, [&] {
            const std::string text = main.txtConsole->Text();
            if (text.ends_with("Loading bitmap0\r\n"))
                phases.loading = phases.Now();
            if (text.ends_with(" artifacts.\r\n") && phases.reported == 0)
                phases.reported = phases.Now();
        });
        const double start = phases.Now();
        try {
            frmTestBed::Instance().Show();
        } catch (const platform::RuntimeError&) {
            // The test bed unloads itself within its load; showing it afterwards fails.
        }
        const double runSeconds = phases.Now() - start;
        if (main.Corvantis->GetScore(0) != 0 || phases.reported == 0) {
            state.SkipWithError("the run did not score the clean bitmap 0");
            return;
        }
        state.SetIterationTime(runSeconds);
        floorSum += floorSeconds;
        runSum += runSeconds;
        record += phases.testing - phases.recording;
        moves += phases.pumped - phases.testing;
        pump += phases.checking - phases.pumped;
        compare += phases.reported - phases.checking;
        create += phases.shown - start;
        firstPump += phases.loading - phases.shown;
        load += phases.recording - phases.loading;
        after += start + runSeconds - phases.reported;
        QTest::qWait(50);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floorSum / n * 1e3;
    state.counters["record_ms"] = record / n * 1e3;
    state.counters["sweep_ms"] = moves / n * 1e3;
    state.counters["pump_ms"] = pump / n * 1e3;
    state.counters["compare_ms"] = compare / n * 1e3;
    state.counters["record_compare_ms"] = (record + compare) / n * 1e3;
    state.counters["create_ms"] = create / n * 1e3;
    state.counters["show_pump_ms"] = firstPump / n * 1e3;
    state.counters["load_ms"] = load / n * 1e3;
    state.counters["report_unload_ms"] = after / n * 1e3;
    state.counters["run_over_floor"] = runSum / floorSum;
}

} // namespace

BENCHMARK(BM_SoftwareTest256)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
    auto app = platform::CreateApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
