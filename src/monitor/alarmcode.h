#pragma once

// The "Alarm Code" page. Its lamps and alarm reads arrive with the alarm page's own work; until
// then the system-state panel and the main window call operations that do nothing.

#include <QWidget>

class AlarmCode : public QWidget
{
    Q_OBJECT
public:
    explicit AlarmCode(QWidget *parent = nullptr);
    void initLeds();
    void refreshAlarm();
    void resetLeds();
};
