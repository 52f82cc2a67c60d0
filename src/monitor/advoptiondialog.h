#pragma once

// The trend chart's "Option" dialog: seconds per page, record time and the eight channels' offsets.
// Built on the trend window's stack, named "AdvancePlot", preset and run; OK applies all ten values
// to the trend window's chart.

#include <QDialog>
#include <QVector>

class QSpinBox;
class QToolButton;

class AdvOptionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AdvOptionDialog(QWidget *parent = nullptr);
    void setXValue(int value);
    void setRecordTime(int value);

    QSpinBox *offsetSpinBox1, *offsetSpinBox2, *offsetSpinBox3, *offsetSpinBox4, *offsetSpinBox5, *offsetSpinBox6,
        *offsetSpinBox7, *offsetSpinBox8;
    QVector<QSpinBox *> offsetSpinBoxes;
    QSpinBox *xAxisSpinBox;
    QSpinBox *recordTimeSpinBox;
    QToolButton *okButton;
    QToolButton *cancelButton;

private slots:
    void setValue();
};
