#include "comm/comsetup.h"

#include <QIntValidator>
#include <QLineEdit>
#include <QTimer>

namespace
{
const char GreenBar[] = "QProgressBar{border-radius:5px;background-color:darkgray;text-align:center}"
                        "QProgressBar::chunk{background-color:#00FF00;margin:2px;}";
}

CComSetup::CComSetup(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    initTexts();

    for (int number = 0; number <= 254; ++number)
        autoStation->addItem(QString::number(number));
    autoStation->setCurrentIndex(0);
    ProcomboBox->addItems({ protocolText, QStringLiteral("Modbus RTU"), QStringLiteral("Modbus ASCII") });
    BaudcomboBox->addItems({ QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200"),
        QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200") });
    BaudcomboBox->setCurrentIndex(1);
    CRComboBox->addItems({ noneText, tr("CR"), tr("CR+LF") });
    CRComboBox->setCurrentIndex(1);
    DatacomboBox->addItems({ QStringLiteral("7"), QStringLiteral("8") });
    DatacomboBox->setCurrentIndex(1);
    StopComboBox->addItems({ QStringLiteral("1"), QStringLiteral("2") });
    TimeComboBox->addItems({ QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("10") });
    TimeComboBox->setCurrentIndex(2);
    TimeComboBox->setEnabled(false);
    // A typed delay becomes a sleep before every Modbus RTU try; keep it to a sane whole number.
    TimeComboBox->setValidator(new QIntValidator(0, 1000, TimeComboBox));
    CheckComboBox->addItems({ noneText, oddText, evenText });

    connect(ProcomboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &CComSetup::ProComboxCh);
    connect(CheckComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &CComSetup::CheckComboxCh);
    autoTimer = new QTimer(this);

    setWindowFlags(Qt::WindowSystemMenuHint);
    AutoButton->show();
    CancleButton->hide();
    progressBar->setStyleSheet(QLatin1String(GreenBar));
    progressBar->setRange(0, 186);
    progressBar->setValue(0);
    progressBar->setFormat(tr("Connection test..."));
}

void CComSetup::initTexts()
{
    retranslateUi(this);
    protocolText = tr("Taviron protocol");
    noneText = tr("None");
    oddText = tr("Odd");
    evenText = tr("Even");
}

void CComSetup::retranslate()
{
    initTexts();
    ProcomboBox->setItemText(0, protocolText);
    CRComboBox->setItemText(0, noneText);
    CheckComboBox->setItemText(0, noneText);
    CheckComboBox->setItemText(1, oddText);
    CheckComboBox->setItemText(2, evenText);
}

void CComSetup::ProComboxCh(int index)
{
    BaudcomboBox->setCurrentIndex(1);
    const int parityBefore = CheckComboBox->currentIndex();
    switch (index) {
    case 0:
        StopComboBox->setEnabled(true);
        StopComboBox->setCurrentIndex(0);
        DatacomboBox->setEnabled(true);
        DatacomboBox->setCurrentIndex(1);
        CRComboBox->setEnabled(true);
        CRComboBox->setCurrentIndex(1);
        CheckComboBox->setCurrentIndex(0);
        TimeComboBox->setEnabled(false);
        break;
    case 1:
        DatacomboBox->setEnabled(false);
        CRComboBox->setEnabled(false);
        DatacomboBox->setCurrentIndex(1);
        CRComboBox->setCurrentIndex(0);
        StopComboBox->setCurrentIndex(0);
        CheckComboBox->setCurrentIndex(2);
        TimeComboBox->setEnabled(true);
        break;
    case 2:
        DatacomboBox->setEnabled(false);
        CRComboBox->setEnabled(false);
        DatacomboBox->setCurrentIndex(0);
        CRComboBox->setCurrentIndex(2);
        StopComboBox->setEnabled(false);
        TimeComboBox->setEnabled(false);
        StopComboBox->setCurrentIndex(parityBefore == 0 ? 1 : 0);
        break;
    default:
        break;
    }
}

void CComSetup::CheckComboxCh()
{
    const bool withParity = CheckComboBox->currentIndex() == 1 || CheckComboBox->currentIndex() == 2;
    switch (ProcomboBox->currentIndex()) {
    case 1:
        StopComboBox->setEnabled(true);
        if (withParity)
            StopComboBox->setCurrentIndex(0);
        break;
    case 2:
        StopComboBox->setEnabled(false);
        StopComboBox->setCurrentIndex(withParity ? 0 : 1);
        break;
    default:
        StopComboBox->setEnabled(true);
        break;
    }
}
