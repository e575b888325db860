#pragma once
// A graphic control filled with a two-colour gradient of 256 bands, with an
// optional outline and an optional caption (embossed when disabled, or with a
// shadow or extrusion in a second colour). Used for the window's backgrounds.
// It takes no mouse input: a press on it reaches the window below.

#include <QWidget>
#include <array>

#include "controls/Colors.h"
#include "controls/Fonts.h"

namespace kelmora {

enum TGradStyle { gsTopBottom, gsBottomTop, gsLeftRight, gsRightLeft, gsNone };
enum TFontStyle3D { fsLowShadow, fsRaiseShadow, fsLow3D, fsRaise3D };

class TGradBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int CaptionLeft READ CaptionLeft WRITE setCaptionLeft)
    Q_PROPERTY(int CaptionTop READ CaptionTop WRITE setCaptionTop)
    Q_PROPERTY(uint TopColor READ TopColor WRITE setTopColor)
    Q_PROPERTY(uint LastColor READ LastColor WRITE setLastColor)
    Q_PROPERTY(uint OutLineColor READ OutLineColor WRITE setOutLineColor)
    Q_PROPERTY(bool DrawOutLine READ DrawOutLine WRITE setDrawOutLine)
    Q_PROPERTY(bool Font3D READ Font3D WRITE setFont3D)
    Q_PROPERTY(int FontDepth READ FontDepth WRITE setFontDepth)
    Q_PROPERTY(uint BackFont READ BackFont WRITE setBackFont)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)

public:
    explicit TGradBox(QWidget* parent = nullptr);

    int CaptionLeft() const { return captionLeft_; }
    void setCaptionLeft(int value);
    int CaptionTop() const { return captionTop_; }
    void setCaptionTop(int value);
    TColor TopColor() const { return topColor_; }
    void setTopColor(TColor value);
    TColor LastColor() const { return lastColor_; }
    void setLastColor(TColor value);
    TColor OutLineColor() const { return outLineColor_; }
    void setOutLineColor(TColor value);
    bool DrawOutLine() const { return drawOutLine_; }
    void setDrawOutLine(bool value);
    TGradStyle GradStyle() const { return gradStyle_; }
    void setGradStyle(TGradStyle value);
    bool Font3D() const { return font3D_; }
    void setFont3D(bool value);
    int FontDepth() const { return fontDepth_; }
    void setFontDepth(int value);  // 0..255
    TFontStyle3D Style3D() const { return style3D_; }
    void setStyle3D(TFontStyle3D value);
    TColor BackFont() const { return backFont_; }
    void setBackFont(TColor value);

    QString Caption() const { return caption_; }
    void setCaption(const QString& value);
    const TFont& Font() const { return font_; }
    void setFont(const TFont& value);
    using QWidget::setFont;

    void BeginLoad() { loading_ = true; }
    void Loaded();

    // The colour table as the last paint built it (gsNone keeps the previous one).
    const std::array<TColor, 256>& colorTable() const { return colorTable_; }

signals:
    // Raised at the end of every paint.
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void repaintIf(bool changed);
    void SetColarray();
    void DrawCaptionText(QPainter& painter, const QRect& rect);

    int captionLeft_ = 10;
    int captionTop_ = 10;
    TColor topColor_ = clGreen;
    TColor lastColor_ = clLime;
    TColor outLineColor_ = clBlack;
    bool drawOutLine_ = false;
    TGradStyle gradStyle_ = gsTopBottom;
    bool font3D_ = false;
    int fontDepth_ = 1;
    TFontStyle3D style3D_ = fsRaise3D;
    TColor backFont_ = clYellow;
    QString caption_;
    TFont font_;
    bool loading_ = false;
    std::array<TColor, 256> colorTable_{};
};

}  // namespace kelmora
