#pragma once
// Rounded, flat touch button of the shared services library: a filled rounded rectangle with an
// optional caption and a glyph to the right of it. It never takes the keyboard focus: the forms
// that use it handle every key themselves. Position (Top) and Enabled are the ordinary QWidget ones.

#include "contracts/Export.h"

#include <QAbstractButton>
#include <QColor>
#include <QString>

#include <memory>

class QSvgRenderer;

class TKT_SHARED_SERVICES_EXPORT TBlendedBitBtn : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QColor fillColor READ fillColor WRITE setFillColor)
    Q_PROPERTY(QColor textColor READ textColor WRITE setTextColor)
    Q_PROPERTY(QColor pressedFillColor READ pressedFillColor WRITE setPressedFillColor)
    Q_PROPERTY(QColor pressedTextColor READ pressedTextColor WRITE setPressedTextColor)
    Q_PROPERTY(QColor disabledFillColor READ disabledFillColor WRITE setDisabledFillColor)
    Q_PROPERTY(QColor disabledTextColor READ disabledTextColor WRITE setDisabledTextColor)
    Q_PROPERTY(QString glyph READ glyph WRITE setGlyph)
    Q_PROPERTY(QString disabledGlyph READ disabledGlyph WRITE setDisabledGlyph)
    Q_PROPERTY(int glyphSize READ glyphSize WRITE setGlyphSize)
    Q_PROPERTY(int margin READ margin WRITE setMargin)
    Q_PROPERTY(int spacing READ spacing WRITE setSpacing)
    Q_PROPERTY(int radius READ radius WRITE setRadius)
    Q_PROPERTY(bool showHint READ showHint WRITE setShowHint)

public:
    explicit TBlendedBitBtn(QWidget *parent = nullptr);
    ~TBlendedBitBtn() override;

    QColor fillColor() const { return m_fill; }
    void setFillColor(const QColor &color);
    QColor textColor() const { return m_text; }
    void setTextColor(const QColor &color);
    // An invalid colour follows the palette: window-text fill and window-colour text while pressed.
    QColor pressedFillColor() const { return m_pressedFill; }
    void setPressedFillColor(const QColor &color);
    QColor pressedTextColor() const { return m_pressedText; }
    void setPressedTextColor(const QColor &color);
    QColor disabledFillColor() const { return m_disabledFill; }
    void setDisabledFillColor(const QColor &color);
    QColor disabledTextColor() const { return m_disabledText; }
    void setDisabledTextColor(const QColor &color);

    // SVG files (usually Qt resources). Without a disabled glyph the disabled button shows the
    // normal one.
    QString glyph() const { return m_glyphPath; }
    void setGlyph(const QString &path);
    QString disabledGlyph() const { return m_disabledGlyphPath; }
    void setDisabledGlyph(const QString &path);
    int glyphSize() const { return m_glyphSize; }
    void setGlyphSize(int size);

    int margin() const { return m_margin; }
    void setMargin(int margin);
    int spacing() const { return m_spacing; }
    void setSpacing(int spacing);
    int radius() const { return m_radius; }
    void setRadius(int radius);

    // Off: the tool tip is kept (the hint) but never shown.
    bool showHint() const { return m_showHint; }
    void setShowHint(bool show) { m_showHint = show; }

    // What the button paints in its present state.
    QString currentGlyph() const;
    QColor currentFillColor() const;
    QColor currentTextColor() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    QColor m_fill{128, 128, 128};
    QColor m_text{0, 0, 128};
    QColor m_pressedFill;
    QColor m_pressedText;
    QColor m_disabledFill{204, 204, 204};
    QColor m_disabledText{192, 192, 192};
    QString m_glyphPath;
    QString m_disabledGlyphPath;
    std::unique_ptr<QSvgRenderer> m_glyph;
    std::unique_ptr<QSvgRenderer> m_disabledGlyph;
    int m_glyphSize = 34;
    int m_margin = 0;
    int m_spacing = 0;
    int m_radius = 8;
    bool m_showHint = true;
};
