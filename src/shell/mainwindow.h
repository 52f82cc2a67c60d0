#pragma once

// The program's one top-level window: menus, tool buttons, the navigation dock, the parameter
// form and the status bar. It owns the communication settings dialog and opens the serial link.

#include "ui_mainwindow.h"

#include <QMainWindow>
#include <QStringList>
#include <atomic>

class QDockWidget;
class QLabel;
class QProgressBar;
class QSplitter;
class QToolButton;
class CComSetup;
class CParameter;
class CNavigation;
class MainDialPlot;
class MainAdvPlot;
class ReadWrite;

class CMainWindow : public QMainWindow, public Ui_MainWindow
{
    Q_OBJECT
public:
    explicit CMainWindow(QWidget *parent = nullptr);
    ~CMainWindow() override;

    // Safe from any thread: the box opens on the GUI thread, with `subject` as its second line.
    void reportError(int index, const QString &subject = QString());

    // Shows the link state on the connection button; safe from any thread.
    void setConnectionState(bool online);

    void setControlsEnabled(bool on);
    void reopenSerialPort();
    void initSerialPort();
    void applyLanguage();
    void switchLanguage(unsigned char language);
    void retranslateWindow();
    QString readSerialCommKey(int index, const QString &which) const;

    QLabel *modeCaptionLabel = nullptr;
    QLabel *modeValueLabel = nullptr;
    QLabel *typeCaptionLabel = nullptr;
    QLabel *typeValueLabel = nullptr;
    QDockWidget *navigationDock = nullptr;
    CNavigation *navigation = nullptr;
    CParameter *parameterForm = nullptr;
    QSplitter *splitter = nullptr;
    CComSetup *comSetup = nullptr;
    QProgressBar *progressBar = nullptr;
    QLabel *progressLabel = nullptr;
    MainDialPlot *monitorWindow = nullptr;
    MainAdvPlot *trendWindow = nullptr;
    QStringList messageTable; // 22 translated messages
    QToolButton *connectButton = nullptr;
    std::atomic<bool> forcePageSelect { false };
    // GUI thread only. While a write of the wizard's is under way, the value it sends: a refusal's box
    // names it, since the message alone does not say which value the drive did not take.
    QString refusalSubject;
    // The link's failure boxes not yet shown, oldest first: they open before any box of a press
    // made during the failing exchange.
    void showOwedErrors();
    QToolButton *parameterButton = nullptr;
    QToolButton *monitorButton = nullptr;
    QToolButton *trendButton = nullptr;
    QToolButton *helpButton = nullptr;
    QToolButton *exitButton = nullptr;

signals:
    void showErrorInfo(int index, const QString &subject = QString());

public slots:
    void trendShow();
    void ErrWarning(int index, const QString &subject = QString());

private slots:
    void iniSysMon();
    void iniComDialog();
    void iniParameter();
    void quickSetup();
    void iniHELP();
    void ABOUT();
    void LaChineseS();
    void LaChineseT();
    void LanEnlish();
    void UpdateProgress();
    void SaveFile();
    void Save_as();
    void Open();
    void connecttset();

protected:
    void closeEvent(QCloseEvent *event) override;


private:
    void retranslateStrings();
    void checkLanguageAction(int language);
    void buildStatusBar();
    void connectActions();
    void buildToolBar();
    void buildNavigationDock();
    void showSettingsInDialog();
    void applySerialSettings();
    void fallBackToCom1();
    // Closes the port and opens the one the set-up dialog names; the caller holds the link.
    bool reopenPort();
    void reportPortNotOpened();
    void applyConnectionState(bool online);
    ReadWrite *makeProtocolObject(int protocolIndex);
    QToolButton *makeToolButton(const QString &icon, bool enabled);

    // Set once the user has asked to leave: a loss met after that is told to no one.
    QStringList m_owedErrors;
    bool m_exitAsked = false;
};
