#pragma once

// A read-only gauge of the dashboard, with a text (the item's unit, or value and unit) drawn into
// its face.

#include <qwt_dial.h>

#include <QPair>
#include <QRectF>
#include <QVector>

class Dial : public QwtDial
{
    Q_OBJECT
public:
    explicit Dial(QWidget *parent = nullptr);

    void setupScale();  // gauge: 0..100 over 260 degrees, arrow needle
    void setupScale2(); // arc: 0..100 over 120 degrees, ray needle, 340 x 340
    // The unit of value text: "50Hz(r/min)", "4.5mA", or the bare value.
    void setUnitText(const QString &value);
    // Range 0..max with a major mark every max / 10.
    void setRange(double max);
    QString text() const { return labelText; }
    // The scale labels the last paint showed, each where it was drawn.
    QVector<QPair<QString, QRectF>> shownScaleLabels() const;
    // Moved within its frame: the value text follows what the frame shows.
    void placedAgain();

public slots:
    void setLabel(int index);
    void changeDialValue(double value);

protected:
    void drawScaleContents(QPainter *painter, const QPointF &center, double radius) const override;

private:
    QString labelText;
    int labelOffset = 20;
    int layoutKind = 0;
};
