#pragma once
// Rounded, filled shape of the shared services library: the frames behind the value labels and,
// with an outline, the border of a touch form. It only paints; clicks pass through to what lies
// beneath it.

#include "contracts/Export.h"

#include <QColor>
#include <QWidget>

class TKT_SHARED_SERVICES_EXPORT TBlendedShape : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor fillColor READ fillColor WRITE setFillColor)
    Q_PROPERTY(QColor outlineColor READ outlineColor WRITE setOutlineColor)
    Q_PROPERTY(int outlineWidth READ outlineWidth WRITE setOutlineWidth)
    Q_PROPERTY(int radius READ radius WRITE setRadius)

public:
    explicit TBlendedShape(QWidget *parent = nullptr);

    QColor fillColor() const { return m_fill; }
    void setFillColor(const QColor &color);
    QColor outlineColor() const { return m_outline; }
    void setOutlineColor(const QColor &color);
    // 0 draws no outline at all.
    int outlineWidth() const { return m_outlineWidth; }
    void setOutlineWidth(int width);
    int radius() const { return m_radius; }
    void setRadius(int radius);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill{235, 235, 235};
    QColor m_outline{204, 91, 44};
    int m_outlineWidth = 0;
    int m_radius = 8;
};
