#pragma once

// The "System Diagnosis" page: the drive's stored alarm history with the details of each alarm,
// its run time, and a service report of both with the drive information.
//
// Behind serviceMode, which nothing in the interface sets, lies the service layout: the hidden-
// parameter table (filled after the access code), its read-out and the RAM tab's switch.

#include <QList>
#include <QString>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTextEdit;

class HideParameter : public QWidget
{
    Q_OBJECT
public:
    static constexpr int TableRows = 200;

    explicit HideParameter(QWidget *parent = nullptr);

    QString readAlarmRecord(const QString &n);
    void fillTable();
    // Places or removes the service layout.
    void setServiceMode(bool on);
    bool serviceMode = false;

    QTextEdit *historyEdit;
    QLabel *historyLabel;
    QLabel *runTimeLabel;
    QLineEdit *runTimeEdit;
    QPushButton *historyButton;
    QPushButton *runTimeButton;
    QPushButton *saveButton;
    // The service layout.
    QTableWidget *parameterTable;
    QLabel *listLabel;
    QPushButton *passwordButton;
    QPushButton *readHideButton;
    QPushButton *monitorRamButton;
    int lastRow = -1;

public slots:
    bool ReadAllValue();
    void historyAlarm();
    void runTime();
    void monitorRam();
    void saveMessage();
    void showPassWorkDlg();

private:
    QString reportText() const;
    QList<QWidget *> serviceWidgets() const;

    QHBoxLayout *m_buttonRow;
    QHBoxLayout *m_contentRow;
    QWidget *m_listColumn;
    bool m_ramButtonAllowed = false;
};
