#pragma once

// The "Alarm Code" page: 60 lamps named for the drive's alarms, the alarm the drive reports lit,
// and a time-stamped history with the drive's details of each alarm. The system-state panel
// drives it from its 30 ms refresh; the service page borrows its alarm texts and detail reads.

#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QLabel;
class QTextEdit;

class AlarmCode : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Slots = 60;

    explicit AlarmCode(QWidget *parent = nullptr);

    void refreshAlarm();
    void updateAlarmDisplay();
    void resetLeds();
    // The link lost: nothing is known of the drive, so no lamp claims anything, "GOOD" included.
    void lampsOff();
    void initLeds();
    bool loadAlarmCodes();
    void loadLedNames();
    QString alarmText(int code);
    QString formatAlarmValue(int item, int offset);
    QString formatAlarmDetail(const QString &range);
    bool isRefreshing() const { return m_refreshing; }

    QStringList ledNames;
    QVector<QLabel *> nameLabels;
    QVector<QLabel *> leds;
    int alarmWord = 0;
    int lastAlarmCode = 0;
    QTextEdit *historyEdit;
    QVector<QStringList> alarmCodeTable;

public slots:
    void SaveMessage();

private:
    void warnCannotRead(const QString &path, const QString &reason);
    void showNoAlarm();

    bool m_refreshing = false;
};

// Appends text to the edit as a new paragraph, never read as markup.
void appendPlainParagraph(QTextEdit *edit, const QString &text);
