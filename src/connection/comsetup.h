#pragma once

// The communication set-up dialog: the link settings, the connection test and the automatic search.
// The main window fills its selectors before each showing and takes them over when it is accepted,
// which only a successful connection test does.

#include "ui_comsetdialog.h"

#include <QDialog>
#include <QString>

class QCloseEvent;
class QTimer;
struct LinkSettings;

class CComSetup : public QDialog, public Ui_ComSetDialog
{
    Q_OBJECT
public:
    explicit CComSetup(QWidget *parent = nullptr);
    ~CComSetup() override;

    void initTexts();
    void retranslate();
    // *silent: the drive stopped answering while it was identified.
    QString identifyInvType(bool *silent = nullptr);

    QTimer *autoTimer = nullptr;
    int station = 0;
    int testStep = 0;
    QString protocolText;
    QString noneText;
    QString oddText;
    QString evenText;

public slots:
    void ProComboxCh(int index);
    void CheckComboxCh();
    void on_start_clicked();
    void on_stop_clicked();
    void on_timer();
    void AutoCommunication(int TestNum);

    // Accepts; a delay the user typed that cannot be taken is named in a warning first, since the
    // main window then keeps the delay in force.
    void accept() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    LinkSettings dialogSettings() const;
    void showWorkingSettings(const LinkSettings &settings);
    void successPath(const LinkSettings &settings);
    void failurePath();
    void stopTest();
    void endTest();
    bool enterStation(const QString &typeText);

    bool m_stepRunning = false;
    // When the search's last probe was sent (steady clock, nanoseconds); 0 before the first.
    qint64 m_lastProbeSentNs = 0;
};

// The two looks of the progress bar.
extern const char *const ProgressStyleGreen;
extern const char *const ProgressStyleRed;
