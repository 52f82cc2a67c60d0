#include "monitor/hideparameter.h"

HideParameter::HideParameter(QWidget *parent)
    : QWidget(parent)
{
}

void HideParameter::fillTable() { }
