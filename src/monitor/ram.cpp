#include "monitor/ram.h"

QVector<quint32> g_ramValues;

Ram::Ram(QWidget *parent)
    : QWidget(parent)
{
}

void Ram::stopAll() { }
