#pragma once

// A time axis: each tick is labelled with base + value seconds, "12.5s".

#include <qwt_scale_draw.h>

class TimeScaleDraw : public QwtScaleDraw
{
public:
    explicit TimeScaleDraw(double base);
    QwtText label(double value) const override;

private:
    double m_base;
};
