#pragma once
// A graphic text label with shadow and highlight copies of its text, an
// optional gradient background, and a colour gradation that runs across the
// characters of the text. Used for the window's title and section captions.
// It takes no mouse input: a press on it reaches the window below.

#include <QObject>
#include <QWidget>
#include <vector>

#include "controls/Colors.h"
#include "controls/Fonts.h"
#include "platform/CodePage.h"

namespace kelmora {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TEllipsis { elNone, elEnd, elPath };
enum TTextGradation { tgNone, tg2Colors, tg3Colors };

// One extra copy of the label's text: its colour and offset.
class TShadow : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
    Q_PROPERTY(uint Color READ Color WRITE setColor)
    Q_PROPERTY(int OffsetLeft READ OffsetLeft WRITE setOffsetLeft)
    Q_PROPERTY(int OffsetTop READ OffsetTop WRITE setOffsetTop)

public:
    explicit TShadow(QObject* parent = nullptr) : QObject(parent) {}
    TShadow(TColor color, int offsetLeft, int offsetTop, QObject* parent = nullptr);

    bool Visible() const { return visible_; }
    void setVisible(bool value);
    TColor Color() const { return color_; }
    void setColor(TColor value);
    int OffsetLeft() const { return offsetLeft_; }
    void setOffsetLeft(int value);
    int OffsetTop() const { return offsetTop_; }
    void setOffsetTop(int value);

    // Copies all four values and raises one change.
    void Assign(const TShadow& source);

signals:
    void changed();

private:
    bool visible_ = true;
    TColor color_ = clSilver;
    int offsetLeft_ = 1;
    int offsetTop_ = 1;
};

// One character of a label's text and the colour the text gradation gives it.
struct TGradedChar {
    QString text;
    TColor color;
};

// The text gradation over the whole characters of text: two colours from the
// font colour to the end colour, or three with the text split near its middle.
// The split counts wide characters twice, as the two-byte code page of the
// original captions does, so it falls between the same characters on every
// system. Empty when no gradation applies (tgNone, or one character or none).
// The characters are those of the code page cp.
std::vector<TGradedChar> textGradation(const QString& text, TColor fontColor, TColor midColor, TColor endColor,
                                       TTextGradation gradation, platform::CodePage cp = platform::systemCodePage());

class TShadowLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(uint Color READ Color WRITE setColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE setShowAccelChar)
    Q_PROPERTY(bool Flickerless READ Flickerless WRITE setFlickerless)
    Q_PROPERTY(bool GradateVert READ GradateVert WRITE setGradateVert)
    Q_PROPERTY(bool Gradation READ Gradation WRITE setGradation)
    Q_PROPERTY(uint GradationColor READ GradationColor WRITE setGradationColor)
    Q_PROPERTY(uint TextGradationColor READ TextGradationColor WRITE setTextGradationColor)
    Q_PROPERTY(uint TextMidColor READ TextMidColor WRITE setTextMidColor)

public:
    explicit TShadowLabel(QWidget* parent = nullptr);

    // Label basics.
    QString Caption() const { return caption_; }
    void setCaption(const QString& value);
    TColor Color() const { return color_; }
    void setColor(TColor value);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool value);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool value);
    bool WordWrap() const { return wordWrap_; }
    void setWordWrap(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void setShowAccelChar(bool value);
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment value);
    TTextLayout Layout() const { return layout_; }
    void setLayout(TTextLayout value);
    const TFont& Font() const { return font_; }
    void setFont(const TFont& value);
    using QWidget::setFont;

    // Its own properties.
    TEllipsis Ellipsis() const { return ellipsis_; }
    void setEllipsis(TEllipsis value);
    bool Flickerless() const { return flickerless_; }
    void setFlickerless(bool value);
    bool GradateVert() const { return gradateVert_; }
    void setGradateVert(bool value);
    bool Gradation() const { return gradation_; }
    void setGradation(bool value);
    TColor GradationColor() const { return gradationColor_; }
    void setGradationColor(TColor value);
    TShadow& Highlight() { return highlight_; }
    const TShadow& Highlight() const { return highlight_; }
    void setHighlight(const TShadow* value);
    TShadow& Shadow() { return shadow_; }
    const TShadow& Shadow() const { return shadow_; }
    void setShadow(const TShadow* value);
    TTextGradation TextGradation() const { return textGradation_; }
    void setTextGradation(TTextGradation value);
    TColor TextGradationColor() const { return textGradationColor_; }
    void setTextGradationColor(TColor value);
    TColor TextMidColor() const { return textMidColor_; }
    void setTextMidColor(TColor value);

    void BeginLoad() { loading_ = true; }
    void Loaded();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void repaintIf(bool changed);
    void adjustBounds();
    QString displayText() const;
    unsigned textFormat() const;
    void paintLabel(QPainter& painter);

    QString caption_;
    TColor color_ = clBtnFace;
    bool transparent_ = false;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    TFont font_;
    TEllipsis ellipsis_ = elNone;
    bool flickerless_ = true;
    bool gradateVert_ = false;
    bool gradation_ = false;
    TColor gradationColor_ = clBlue;
    TShadow highlight_{clWhite, -1, -1};
    TShadow shadow_{clSilver, 1, 1};
    TTextGradation textGradation_ = tgNone;
    TColor textGradationColor_ = clMaroon;
    TColor textMidColor_ = clNavy;
    bool loading_ = false;
};

}  // namespace kelmora
