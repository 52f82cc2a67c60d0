#pragma once

// The small "Option" dialogs of the monitor window: the plot's page width and maximum, and a
// dial's maximum. Each is built on its opener's stack, named, preset and run; its OK slot finds
// the target by the dialog's object name.

#include <QDialog>

class QSpinBox;
class QToolButton;

class OptionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OptionDialog(QWidget *parent = nullptr);
    void setXValue(int value);
    void setYValue(int value);

    QSpinBox *xAxisSpinBox;
    QSpinBox *yAxisSpinBox;
    QToolButton *okButton;
    QToolButton *cancelButton;

private slots:
    void setValue();
};

class DialOptionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit DialOptionDialog(QWidget *parent = nullptr);
    void setSpinValue(int value);

    QSpinBox *maxValueSpinBox;
    QToolButton *okButton;
    QToolButton *cancelButton;

private slots:
    void setDialValue();
};
