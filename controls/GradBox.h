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

    int CaptionLeft() const { return m_captionLeft; }
    void setCaptionLeft(int value);
    int CaptionTop() const { return m_captionTop; }
    void setCaptionTop(int value);
    TColor TopColor() const { return m_topColor; }
    void setTopColor(TColor value);
    TColor LastColor() const { return m_lastColor; }
    void setLastColor(TColor value);
    TColor OutLineColor() const { return m_outLineColor; }
    void setOutLineColor(TColor value);
    bool DrawOutLine() const { return m_drawOutLine; }
    void setDrawOutLine(bool value);
    TGradStyle GradStyle() const { return m_gradStyle; }
    void setGradStyle(TGradStyle value);
    bool Font3D() const { return m_font3D; }
    void setFont3D(bool value);
    int FontDepth() const { return m_fontDepth; }
    void setFontDepth(int value);  // 0..255
    TFontStyle3D Style3D() const { return m_style3D; }
    void setStyle3D(TFontStyle3D value);
    TColor BackFont() const { return m_backFont; }
    void setBackFont(TColor value);

    QString Caption() const { return m_caption; }
    void setCaption(const QString& value);
    const TFont& Font() const { return m_font; }
    void setFont(const TFont& value);
    using QWidget::setFont;

    // Stored layout: the box shows what it holds once loaded.
    void BeginLoad() {}
    void Loaded();

    // The colour table of the bands, built when a colour or the style changes
    // (gsNone keeps the previous one).
    const std::array<TColor, 256>& colorTable() const { return m_colorTable; }

signals:
    // Raised at the end of every paint.
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetColarray();
    void DrawCaptionText(QPainter& painter, const QRect& rect);

    int m_captionLeft = 10;
    int m_captionTop = 10;
    TColor m_topColor = clGreen;
    TColor m_lastColor = clLime;
    TColor m_outLineColor = clBlack;
    bool m_drawOutLine = false;
    TGradStyle m_gradStyle = gsTopBottom;
    bool m_font3D = false;
    int m_fontDepth = 1;
    TFontStyle3D m_style3D = fsRaise3D;
    TColor m_backFont = clYellow;
    QString m_caption;
    TFont m_font;
    std::array<TColor, 256> m_colorTable{};
};

}  // namespace kelmora
