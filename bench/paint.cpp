// A full repaint of the main window's painted controls (the gradient boxes,
// shadow labels and shine buttons of the real window, each at its place) into
// one image. KELMORA_PAINT_PNG=file also saves one frame for a look.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QImage>

#include "controls/Fonts.h"
#include "controls/GradBox.h"
#include "controls/ShadowLabel.h"
#include "controls/ShineSpeedButton.h"
#include "ui/MainForm1.h"

using namespace kelmora;

namespace {

// The painted controls of the window, in the order they paint.
QList<QWidget*> paintedControls(QWidget& window)
{
    QList<QWidget*> controls;
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (qobject_cast<TGradBox*>(child) || qobject_cast<TShadowLabel*>(child)
            || qobject_cast<TShineSpeedButton*>(child))
            controls.append(child);
    }
    return controls;
}

void BM_PaintMainWindowControls(benchmark::State& state)
{
    TMainForm1 window(QDir::tempPath().toStdString(), {});
    const QList<QWidget*> controls = paintedControls(window);
    QImage frame(window.size(), QImage::Format_RGB32);
    frame.fill(Qt::black);
    for (auto _ : state) {
        for (QWidget* control : controls)
            control->render(&frame, control->mapTo(&window, QPoint()), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["controls"] = static_cast<double>(controls.size());
    if (const QByteArray png = qgetenv("KELMORA_PAINT_PNG"); !png.isEmpty()) frame.save(QString::fromLocal8Bit(png));
}
BENCHMARK(BM_PaintMainWindowControls)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
