#pragma once

// The quick set-up wizard: four pages of plain choices (control method; frequencies, voltage and
// ramp times; operation method and brake; terminal functions) that its OK button turns into a
// fixed sequence of parameter writes through the parameter form.

#include "quicksetup/setupwrites.h"

#include <QDialog>
#include <QStringList>
#include <QVector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;
class QTabWidget;
class QToolButton;
class QWidget;

class QuickSetup : public QDialog
{
    Q_OBJECT
public:
    explicit QuickSetup(QWidget *parent = nullptr);
    ~QuickSetup() override;

    // The factory choices for the connected series and its feature keys.
    void setDefaultValues();

    // The current choices as the writes read them.
    QuickSetupWrites::Choices choices() const;

    QTabWidget *tabWidget = nullptr;

    QWidget *stepOnePage = nullptr;
    QComboBox *controlMethodCombo = nullptr;
    QLabel *stepOneTitleLabel = nullptr;
    QLabel *controlMethodLabel = nullptr;
    QToolButton *stepOneNextButton = nullptr;

    QWidget *stepTwoPage = nullptr;
    QDoubleSpinBox *maxFrequencySpin = nullptr;
    QDoubleSpinBox *baseFrequencySpin = nullptr;
    QSpinBox *maxVoltageSpin = nullptr;
    QDoubleSpinBox *accelTimeSpin = nullptr;
    QDoubleSpinBox *decelTimeSpin = nullptr;
    QLabel *stepTwoTitleLabel = nullptr;
    QLabel *maxFrequencyLabel = nullptr;
    QLabel *baseFrequencyLabel = nullptr;
    QLabel *maxVoltageLabel = nullptr;
    QLabel *accelTimeLabel = nullptr;
    QLabel *decelTimeLabel = nullptr;
    QLabel *accelTimeUnitLabel = nullptr;
    QLabel *decelTimeUnitLabel = nullptr;
    QToolButton *stepTwoBackButton = nullptr;
    QToolButton *stepTwoNextButton = nullptr;

    QWidget *stepThreePage = nullptr;
    QComboBox *frequencySourceCombo = nullptr;
    QComboBox *startSourceCombo = nullptr;
    QComboBox *brakeCombo = nullptr;
    QLabel *stepThreeTitleLabel = nullptr;
    QLabel *frequencySourceLabel = nullptr;
    QLabel *startSourceLabel = nullptr;
    QLabel *brakeLabel = nullptr;
    QToolButton *stepThreeBackButton = nullptr;
    QToolButton *stepThreeNextButton = nullptr;

    QWidget *stepFourPage = nullptr;
    QLabel *stepFourTitleLabel = nullptr;
    QTabWidget *functionTabWidget = nullptr;
    QVector<QComboBox *> outputFunctionCombos;
    QVector<QLabel *> outputFunctionLabels;
    QVector<QComboBox *> slotOutputFunctionCombos;
    QVector<QLabel *> slotOutputFunctionLabels;
    QVector<QComboBox *> inputFunctionCombos;
    QVector<QLabel *> inputFunctionLabels;
    QToolButton *stepFourBackButton = nullptr;
    QToolButton *stepFourOkButton = nullptr;

    QStringList splitField;
    QStringList inputAndOutputFields;

    // The fixed input-function texts of series A, in code order (codes 0 to 41, then 43 to 66).
    static QStringList fixedInputTexts();

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void setPageOne();
    void setPageTwo();
    void setPageThree();
    void setPageFour();
    void enterSet();

private:
    void loadInputAndOutput();
    void createPageOne();
    void createPageTwo();
    void createPageThree();
    void createPageFour();
    QComboBox *fillOutputFunctionCombo();
    QComboBox *createListCombo();
    QToolButton *navigationButton(const QString &text, const QString &icon, void (QuickSetup::*slot)());
    QString fieldLimit(const QuickSetupWrites::Write &write) const;
    QString refusedText(const QuickSetupWrites::Write &write) const;
    QString resolutionInForce(const QuickSetupWrites::Write &write) const;
    void showUnitsInForce();
};
