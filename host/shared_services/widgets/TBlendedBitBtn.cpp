#include "contracts/TBlendedBitBtn.h"

#include "TouchStyle.h"

#include <QEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace {

std::unique_ptr<QSvgRenderer> loadGlyph(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    auto renderer = std::make_unique<QSvgRenderer>(path);
    if (!renderer->isValid()) {
        qWarning("TBlendedBitBtn: glyph %s cannot be read", qUtf8Printable(path));
        return nullptr;
    }
    return renderer;
}

} // namespace

TBlendedBitBtn::TBlendedBitBtn(QWidget *parent) : QAbstractButton(parent)
{
    tkt::loadTouchFonts();
    setFocusPolicy(Qt::NoFocus);
}

TBlendedBitBtn::~TBlendedBitBtn() = default;

void TBlendedBitBtn::setFillColor(const QColor &color)
{
    m_fill = color;
    update();
}

void TBlendedBitBtn::setTextColor(const QColor &color)
{
    m_text = color;
    update();
}

void TBlendedBitBtn::setPressedFillColor(const QColor &color)
{
    m_pressedFill = color;
    update();
}

void TBlendedBitBtn::setPressedTextColor(const QColor &color)
{
    m_pressedText = color;
    update();
}

void TBlendedBitBtn::setDisabledFillColor(const QColor &color)
{
    m_disabledFill = color;
    update();
}

void TBlendedBitBtn::setDisabledTextColor(const QColor &color)
{
    m_disabledText = color;
    update();
}

void TBlendedBitBtn::setGlyph(const QString &path)
{
    m_glyphPath = path;
    m_glyph = loadGlyph(path);
    update();
}

void TBlendedBitBtn::setDisabledGlyph(const QString &path)
{
    m_disabledGlyphPath = path;
    m_disabledGlyph = loadGlyph(path);
    update();
}

void TBlendedBitBtn::setGlyphSize(int size)
{
    m_glyphSize = qMax(0, size);
    updateGeometry();
    update();
}

void TBlendedBitBtn::setMargin(int margin)
{
    m_margin = qMax(0, margin);
    updateGeometry();
    update();
}

void TBlendedBitBtn::setSpacing(int spacing)
{
    m_spacing = qMax(0, spacing);
    updateGeometry();
    update();
}

void TBlendedBitBtn::setRadius(int radius)
{
    m_radius = qMax(0, radius);
    update();
}

QString TBlendedBitBtn::currentGlyph() const
{
    if (!isEnabled() && m_disabledGlyph)
        return m_disabledGlyphPath;
    return m_glyph ? m_glyphPath : QString();
}

QColor TBlendedBitBtn::currentFillColor() const
{
    if (!isEnabled())
        return m_disabledFill;
    if (isDown())
        return m_pressedFill.isValid() ? m_pressedFill : palette().color(QPalette::WindowText);
    return m_fill;
}

QColor TBlendedBitBtn::currentTextColor() const
{
    if (!isEnabled())
        return m_disabledText;
    if (isDown())
        return m_pressedText.isValid() ? m_pressedText : palette().color(QPalette::Window);
    return m_text;
}

QSize TBlendedBitBtn::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int textWidth = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    const int glyph = m_glyph ? m_glyphSize : 0;
    const int gap = textWidth > 0 && glyph > 0 ? m_spacing : 0;
    const int width = textWidth + gap + glyph + 2 * m_margin + 8;
    const int height = qMax(metrics.height(), glyph) + 2 * m_margin + 8;
    return {width, height};
}

bool TBlendedBitBtn::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !m_showHint)
        return true;
    return QAbstractButton::event(event);
}

void TBlendedBitBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(currentFillColor());
    painter.drawRoundedRect(QRectF(rect()), m_radius, m_radius);

    const QRect content = rect().adjusted(m_margin, m_margin, -m_margin, -m_margin);
    QSvgRenderer *glyph = !isEnabled() && m_disabledGlyph ? m_disabledGlyph.get() : m_glyph.get();
    // A glyph larger than the room left inside the margin is scaled down, never clipped.
    const int glyphSide = glyph ? qMin(m_glyphSize, qMin(content.width(), content.height())) : 0;
    const QString caption = text();
    const int textWidth = caption.isEmpty() ? 0 : painter.fontMetrics().horizontalAdvance(caption);
    const int gap = textWidth > 0 && glyphSide > 0 ? m_spacing : 0;
    const int total = textWidth + gap + glyphSide;
    int x = content.left() + (content.width() - total) / 2;

    if (textWidth > 0) {
        painter.setPen(currentTextColor());
        painter.drawText(QRect(x, content.top(), textWidth, content.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         caption);
        x += textWidth + gap;
    }
    if (glyphSide > 0) {
        const qreal top = content.top() + (content.height() - glyphSide) / 2.0;
        glyph->render(&painter, QRectF(x, top, glyphSide, glyphSide));
    }
}
