#include "monitor/alarmcode.h"

AlarmCode::AlarmCode(QWidget *parent)
    : QWidget(parent)
{
}

void AlarmCode::initLeds() { }
void AlarmCode::refreshAlarm() { }
void AlarmCode::resetLeds() { }
