#include "monitor/timescaledraw.h"

TimeScaleDraw::TimeScaleDraw(double base)
    : m_base(base)
{
}

QwtText TimeScaleDraw::label(double value) const
{
    return QwtText(QString::number(m_base + value, 'g', 6) + QLatin1Char('s'));
}
