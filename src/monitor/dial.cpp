#include "monitor/dial.h"

#include "monitor/monitorglobals.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>
#include <qwt_dial_needle.h>
#include <qwt_round_scale_draw.h>
#include <qwt_scale_map.h>

namespace
{

// A scale whose labels, where they would run into each other (a small dial, a wide font), show only
// every second, third... one, so what is shown can be read.
class ThinnedScaleDraw : public QwtRoundScaleDraw
{
public:
    void draw(QPainter *painter, const QPalette &palette) const override
    {
        m_stride = 1;
        m_shown.clear();
        const QList<double> marks = scaleDiv().ticks(QwtScaleDiv::MajorTick);
        if (hasComponent(Labels)) {
            QVector<QRectF> rects;
            for (double value : marks)
                rects.append(labelRect(painter->font(), value));
            // A stride that divides the steps keeps both ends of the scale labelled.
            const int steps = marks.size() - 1;
            while (m_stride < steps && (crowded(rects) || steps % m_stride != 0))
                ++m_stride;
            for (int i = 0; i < marks.size(); i += m_stride)
                if (!rects.at(i).isEmpty())
                    m_shown.append({ tickLabel(painter->font(), marks.at(i)).text(), rects.at(i) });
        }
        QwtRoundScaleDraw::draw(painter, palette);
    }

    QVector<QPair<QString, QRectF>> shown() const { return m_shown; }

protected:
    void drawLabel(QPainter *painter, double value) const override
    {
        const QList<double> marks = scaleDiv().ticks(QwtScaleDiv::MajorTick);
        const int index = marks.indexOf(value);
        if (m_stride > 1 && index >= 0 && index % m_stride != 0)
            return;
        QwtRoundScaleDraw::drawLabel(painter, value);
    }

private:
    bool crowded(const QVector<QRectF> &rects) const
    {
        const QMarginsF gap(3, 1, 3, 1);
        for (int i = 0; i + m_stride < rects.size(); i += m_stride)
            if (!rects.at(i).isEmpty() && rects.at(i).marginsAdded(gap).intersects(rects.at(i + m_stride)))
                return true;
        return false;
    }

    // Where QwtRoundScaleDraw::drawLabel puts the value's label.
    QRectF labelRect(const QFont &font, double value) const
    {
        const QwtText text = tickLabel(font, value);
        if (text.isEmpty())
            return QRectF();
        double r = radius();
        if (hasComponent(Ticks) || hasComponent(Backbone))
            r += spacing();
        if (hasComponent(Ticks))
            r += tickLength(QwtScaleDiv::MajorTick);
        const QSizeF size = text.textSize(font);
        const double arc = qDegreesToRadians(scaleMap().transform(value));
        const double x = center().x() + (r + size.width() / 2.0) * qSin(arc);
        const double y = center().y() - (r + size.height() / 2.0) * qCos(arc);
        return QRectF(x - size.width() / 2, y - size.height() / 2, size.width(), size.height());
    }

    mutable int m_stride = 1;
    mutable QVector<QPair<QString, QRectF>> m_shown;
};

} // namespace

Dial::Dial(QWidget *parent)
    : QwtDial(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setReadOnly(true);
    setScaleDraw(new ThinnedScaleDraw);
}

// Qwt 6.1 gives the range through the scale; a fixed step size leaves the number of major marks
// to the step, as the old interface's maximum of 0 (or -1) major intervals did.
void Dial::setRange(double max)
{
    setScale(0.0, max);
    setScaleMaxMinor(10);
    setScaleStepSize(max / 10.0);
}

QVector<QPair<QString, QRectF>> Dial::shownScaleLabels() const
{
    return static_cast<const ThinnedScaleDraw *>(scaleDraw())->shown();
}

void Dial::setupScale()
{
    setRange(100.0);
    setOrigin(140.0);
    setScaleArc(0.0, 260.0);
    scaleDraw()->enableComponent(QwtAbstractScaleDraw::Backbone, false);
    auto *needle = new QwtDialSimpleNeedle(QwtDialSimpleNeedle::Arrow, true, Qt::red, QColor(Qt::blue).lighter(130));
    needle->setWidth(6);
    setNeedle(needle);
    setLineWidth(4);
    setFrameShadow(Sunken);
    layoutKind = 0;
}

void Dial::setupScale2()
{
    setRange(100.0);
    scaleDraw()->enableComponent(QwtAbstractScaleDraw::Backbone, false);
    setOrigin(210.0);
    setScaleArc(0.0, 120.0);
    resize(340, 340);
    auto *needle = new QwtDialSimpleNeedle(QwtDialSimpleNeedle::Ray, false, QColor(29, 82, 255, 255).darker(160),
                                           QColor(Qt::blue).lighter(130));
    needle->setWidth(2);
    setNeedle(needle);
    layoutKind = 1;
}

void Dial::setLabel(int index)
{
    {
        std::unique_lock<FairMutex> lock(g_monitorListsMutex);
        if (index < 0 || index >= g_monitorUnits.size())
            return;
        labelText = g_monitorUnits.at(index);
    }
    labelOffset = layoutKind == 0 ? 20 : 240;
    // The face is drawn from a cached picture; the text is part of it.
    invalidateCache();
    update();
}

void Dial::setUnitText(const QString &value)
{
    QString unit;
    if (labelText.contains(QLatin1String("Hz")))
        unit = QStringLiteral("Hz(r/min)");
    else if (labelText.contains(QLatin1Char('V')))
        unit = QStringLiteral("V");
    else if (labelText.contains(QLatin1String("mA")))
        unit = QStringLiteral("mA");
    else if (labelText.contains(QLatin1Char('A')))
        unit = QStringLiteral("A");
    labelText = value + unit;
    invalidateCache();
    update();
}

void Dial::placedAgain()
{
    invalidateCache();
    update();
}

void Dial::changeDialValue(double value)
{
    setValue(value);
}

void Dial::drawScaleContents(QPainter *painter, const QPointF &center, double radius) const
{
    QRectF rect(0, 0, 2 * radius, 2 * radius - labelOffset);
    rect.moveCenter(center);
    // The arc dial keeps its size in a frame that may be smaller: its value moves into what the
    // frame shows rather than be cut by it.
    if (layoutKind == 1 && parentWidget()) {
        const QRectF shown = QRectF(mapFromParent(QPoint(0, 0)), QSizeF(parentWidget()->size())) & QRectF(this->rect());
        const QRectF text = QFontMetricsF(painter->font()).boundingRect(rect, Qt::AlignBottom | Qt::AlignHCenter, labelText);
        const double margin = 4;
        double dx = 0;
        if (text.right() > shown.right() - margin)
            dx = shown.right() - margin - text.right();
        if (text.left() + dx < shown.left() + margin)
            dx = shown.left() + margin - text.left();
        const double dy = qMin(0.0, shown.bottom() - margin - text.bottom());
        rect.translate(dx, dy);
    }
    painter->save();
    painter->setPen(palette().color(QPalette::Text));
    painter->drawText(rect, Qt::AlignBottom | Qt::AlignHCenter, labelText);
    painter->restore();
}
