// Draws the mascot frames, the information picture and the icon of Kelmora.
//
// The program builds its pictures from the PNG files this tool writes; they are
// committed, so the build never runs the tool. To draw them again:
//
//   cmake --build build/<dir> --target kelmora_artgen
//   QT_QPA_PLATFORM=offscreen build/<dir>/tools/kelmora_artgen <source folder> [frames folder]
//
// It writes <source folder>/resources/mascot-frames.png (79 frames of 220 x 296,
// four a row, frame k at column k % 4, row k / 4), resources/info.png (400 x 300),
// the program's icon as resources/icons/kelmora-N.png (N = 16, 32, 48, 64, 128,
// 256; no vector version: the figure is drawn with clipping, which Qt's SVG
// writer drops), and docs/mascot-frames.png (a contact sheet of every frame,
// numbered). With a frames folder it also writes each frame there as frame-NN.png.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

#include "Icon.h"
#include "Scenes.h"

using namespace artgen;

namespace {

bool save(const QImage& image, const QString& path)
{
    // Quality 0 asks for the strongest PNG compression.
    if (image.save(path, "PNG", 0)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

QImage frameSheet(const QList<QImage>& frames)
{
    const int columns = 4, rows = (FrameCount + columns - 1) / columns;
    QImage sheet(columns * FrameWidth, rows * FrameHeight, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    QPainter p(&sheet);
    for (int k = 0; k < FrameCount; ++k)
        p.drawImage((k % columns) * FrameWidth, (k / columns) * FrameHeight, frames[k]);
    return sheet;
}

// Every frame at half size with its number, for people to look at.
QImage contactSheet(const QList<QImage>& frames)
{
    const int columns = 10, cellW = FrameWidth / 2 + 6, cellH = FrameHeight / 2 + 20;
    const int rows = (FrameCount + columns - 1) / columns;
    QImage sheet(columns * cellW + 6, rows * cellH + 6, QImage::Format_RGB32);
    sheet.fill(QColor(48, 48, 56));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    p.setFont(font);
    for (int k = 0; k < FrameCount; ++k) {
        const int x = 6 + (k % columns) * cellW, y = 6 + (k / columns) * cellH;
        p.drawImage(QRect(x, y, FrameWidth / 2, FrameHeight / 2), frames[k]);
        const QColor run = k < 36 ? QColor(150, 200, 255) : k < 45 ? QColor(160, 255, 160) : QColor(255, 190, 120);
        p.setPen(run);
        p.drawText(QRect(x, y + FrameHeight / 2, FrameWidth / 2, 16), Qt::AlignCenter, QString::number(k));
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kelmora_artgen <source folder> [frames folder]\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    QList<QImage> frames;
    for (int k = 0; k < FrameCount; ++k) frames << drawFrame(k);

    bool ok = save(frameSheet(frames), root.filePath(QStringLiteral("resources/mascot-frames.png")))
              && save(drawInfoPicture(), root.filePath(QStringLiteral("resources/info.png")))
              && save(contactSheet(frames), root.filePath(QStringLiteral("docs/mascot-frames.png")));
    for (const int size : IconSizes) {
        ok = ok && save(renderIcon(size), root.filePath(QStringLiteral("resources/icons/kelmora-%1.png").arg(size)));
    }
    if (ok && argc > 2) {
        const QDir out(QString::fromLocal8Bit(argv[2]));
        for (int k = 0; k < FrameCount && ok; ++k)
            ok = save(frames[k], out.filePath(QStringLiteral("frame-%1.png").arg(k, 2, 10, QLatin1Char('0'))));
    }
    return ok ? 0 : 1;
}
