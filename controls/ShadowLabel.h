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

    bool Visible() const { return m_visible; }
    void setVisible(bool value);
    TColor Color() const { return m_color; }
    void setColor(TColor value);
    int OffsetLeft() const { return m_offsetLeft; }
    void setOffsetLeft(int value);
    int OffsetTop() const { return m_offsetTop; }
    void setOffsetTop(int value);

    // Copies all four values and raises one change.
    void Assign(const TShadow& source);

signals:
    void changed();

private:
    bool m_visible = true;
    TColor m_color = clSilver;
    int m_offsetLeft = 1;
    int m_offsetTop = 1;
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
    QString Caption() const { return m_caption; }
    void setCaption(const QString& value);
    TColor Color() const { return m_color; }
    void setColor(TColor value);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool value);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool value);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool value);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool value);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment value);
    TTextLayout Layout() const { return m_layout; }
    void setLayout(TTextLayout value);
    const TFont& Font() const { return m_font; }
    void setFont(const TFont& value);
    using QWidget::setFont;

    // Its own properties.
    TEllipsis Ellipsis() const { return m_ellipsis; }
    void setEllipsis(TEllipsis value);
    bool Flickerless() const { return m_flickerless; }
    void setFlickerless(bool value);
    bool GradateVert() const { return m_gradateVert; }
    void setGradateVert(bool value);
    bool Gradation() const { return m_gradation; }
    void setGradation(bool value);
    TColor GradationColor() const { return m_gradationColor; }
    void setGradationColor(TColor value);
    TShadow& Highlight() { return m_highlight; }
    const TShadow& Highlight() const { return m_highlight; }
    void setHighlight(const TShadow* value);
    TShadow& Shadow() { return m_shadow; }
    const TShadow& Shadow() const { return m_shadow; }
    void setShadow(const TShadow* value);
    TTextGradation TextGradation() const { return m_textGradation; }
    void setTextGradation(TTextGradation value);
    TColor TextGradationColor() const { return m_textGradationColor; }
    void setTextGradationColor(TColor value);
    TColor TextMidColor() const { return m_textMidColor; }
    void setTextMidColor(TColor value);

    void BeginLoad() { m_loading = true; }
    void Loaded();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void adjustBounds();
    QString displayText() const;
    unsigned textFormat() const;
    void paintLabel(QPainter& painter);

    QString m_caption;
    TColor m_color = clBtnFace;
    bool m_transparent = false;
    bool m_autoSize = true;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    TFont m_font;
    TEllipsis m_ellipsis = elNone;
    bool m_flickerless = true;
    bool m_gradateVert = false;
    bool m_gradation = false;
    TColor m_gradationColor = clBlue;
    TShadow m_highlight{clWhite, -1, -1};
    TShadow m_shadow{clSilver, 1, 1};
    TTextGradation m_textGradation = tgNone;
    TColor m_textGradationColor = clMaroon;
    TColor m_textMidColor = clNavy;
    bool m_loading = false;
};

}  // namespace kelmora
