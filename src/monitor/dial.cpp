#include "monitor/dial.h"

#include "monitor/monitorglobals.h"

#include <QFontMetricsF>
#include <QPainter>
#include <qwt_dial_needle.h>
#include <qwt_round_scale_draw.h>

Dial::Dial(QWidget *parent)
    : QwtDial(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setReadOnly(true);
}

// Qwt 6.1 gives the range through the scale; a fixed step size leaves the number of major marks
// to the step, as the old interface's maximum of 0 (or -1) major intervals did.
void Dial::setRange(double max)
{
    setScale(0.0, max);
    setScaleMaxMinor(10);
    setScaleStepSize(max / 10.0);
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
