#pragma once

// The RAM monitor page. Until its own work arrives it only holds the channel values its plot
// reads and offers the stop that the monitor window's close calls.

#include <QVector>
#include <QWidget>

extern QVector<quint32> g_ramValues; // latest value of each RAM channel

class Ram : public QWidget
{
    Q_OBJECT
public:
    explicit Ram(QWidget *parent = nullptr);
    void stopAll();
};
