// A full repaint of the main window's painted controls (boxes, labels and
// buttons, with the window's own bounds and colours) into an image.
// KELMORA_PAINT_PNG=file also saves one frame for a look.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "controls/Fonts.h"
#include "controls/GradBox.h"
#include "controls/ShadowLabel.h"
#include "controls/ShineSpeedButton.h"

using namespace kelmora;

namespace {

constexpr TColor kOrange = 33023;

void addBox(QWidget* window, QRect bounds, TGradStyle style, TColor outline, TColor top = clSilver)
{
    auto* box = new TGradBox(window);
    box->BeginLoad();
    box->setGeometry(bounds);
    box->setTopColor(top);
    box->setLastColor(clWhite);
    box->setGradStyle(style);
    box->setDrawOutLine(true);
    box->setOutLineColor(outline);
    box->Loaded();
}

void addLabel(QWidget* window, QPoint at, const QString& caption, TColor colour = kOrange)
{
    auto* label = new TShadowLabel(window);
    label->BeginLoad();
    label->move(at);
    label->setFont(uiTFont(11, colour));
    label->setColor(clBlack);
    label->setTransparent(true);
    label->setLayout(tlCenter);
    label->setGradation(true);
    label->setGradationColor(clBlack);
    label->setGradateVert(true);
    label->Highlight().setVisible(false);
    label->setTextGradation(tg3Colors);
    label->setTextMidColor(clYellow);
    label->setTextGradationColor(kOrange);
    label->setCaption(caption);
    label->Loaded();
}

void addButton(QWidget* window, QRect bounds, const QString& caption, int fontHeight, bool cut = false)
{
    auto* panel = new QWidget(window);
    panel->setGeometry(bounds);
    auto* b = new TShineSpeedButton(panel);
    b->BeginLoad();
    b->resize(bounds.size());
    b->setClickDownHook(true);
    b->setCaption(caption);
    b->setFont(uiTFont(fontHeight, clWhite));
    b->setActiveFont(uiTFont(fontHeight, clWhite, true));
    b->setFontHighlight(8388672);
    b->setFontShadow(clBlack);
    b->Colors().setColor(cut ? clYellow : clSilver);
    b->Colors().setGradColor(cut ? kOrange : clGray);
    b->Colors().setHighlight(14737632);
    b->Colors().setShadow(cut ? clSilver : clGray);
    b->Colors().setGradation(true);
    b->Colors().setGradVertical(true);
    b->PressedColors().setColor(cut ? clRed : clGray);
    b->PressedColors().setGradColor(cut ? clMaroon : clBlack);
    b->PressedColors().setHighlight(clSilver);
    b->PressedColors().setShadow(clGray);
    b->PressedColors().setGradation(true);
    b->PressedColors().setGradVertical(true);
    b->Loaded();
}

std::unique_ptr<QWidget> mainWindowControls()
{
    auto window = std::make_unique<QWidget>();
    window->resize(550, 437);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::black);
    window->setPalette(palette);
    QWidget* w = window.get();
    addBox(w, {0, 190, 240, 136}, gsRightLeft, clBlack);
    addBox(w, {0, 0, 550, 16}, gsBottomTop, clGray);
    addLabel(w, {102, 3}, QStringLiteral("◆ Kelmora ver.1.5"), clRed);
    addBox(w, {0, 17, 240, 172}, gsRightLeft, clBlack);
    addBox(w, {0, 327, 550, 110}, gsBottomTop, clGray);
    addLabel(w, {8, 22}, QStringLiteral("▼カット範囲"));
    addLabel(w, {8, 134}, QStringLiteral("▼画像サイズ (幅 x 高さ)"));
    addLabel(w, {8, 194}, QStringLiteral("▼保存先"));
    addBox(w, {540, 17, 10, 309}, gsRightLeft, clBlack);
    addLabel(w, {8, 336}, QStringLiteral("▼変換元 (ファイルのドラッグ＆ドロップで登録<複数ファイル可>)"));
    addLabel(w, {8, 230}, QStringLiteral("▼保存形式"));
    addLabel(w, {8, 78}, QStringLiteral("▼カット間隔"));
    addBox(w, {240, 10, 300, 311}, gsRightLeft, clBlack, clGray);  // the mascot area's background
    addButton(w, {54, 2, 44, 12}, QStringLiteral("INFO."), 11);
    addButton(w, {36, 2, 16, 12}, QStringLiteral("？"), 12);
    addButton(w, {20, 2, 16, 12}, QStringLiteral("＿"), 11);
    addButton(w, {4, 2, 16, 12}, QStringLiteral("×"), 12);
    addButton(w, {60, 287, 120, 30}, QStringLiteral("カット！"), 12, true);
    addButton(w, {492, 338, 44, 12}, QStringLiteral("CLEAR"), 11);
    return window;
}

void BM_PaintMainWindowControls(benchmark::State& state)
{
    const auto window = mainWindowControls();
    QImage frame(window->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        window->render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
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
