#include "contracts/TBlendedShape.h"

#include "TouchStyle.h"

#include <QPainter>

TBlendedShape::TBlendedShape(QWidget *parent) : QWidget(parent)
{
    // Forms are built shape first; the fonts must be in place before any caption is measured.
    tkt::loadTouchFonts();
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBlendedShape::setFillColor(const QColor &color)
{
    m_fill = color;
    update();
}

void TBlendedShape::setOutlineColor(const QColor &color)
{
    m_outline = color;
    update();
}

void TBlendedShape::setOutlineWidth(int width)
{
    m_outlineWidth = qMax(0, width);
    update();
}

void TBlendedShape::setRadius(int radius)
{
    m_radius = qMax(0, radius);
    update();
}

void TBlendedShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(m_fill);
    if (m_outlineWidth > 0) {
        // The pen is centred on the path: inset by half its width so the whole line stays visible.
        const qreal half = m_outlineWidth / 2.0;
        painter.setPen(QPen(m_outline, m_outlineWidth));
        painter.drawRoundedRect(QRectF(rect()).adjusted(half, half, -half, -half), m_radius, m_radius);
    } else {
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(rect()), m_radius, m_radius);
    }
}
