#pragma once

// The main window. This is the part other subsystems rely on; the shell grows the rest.

#include <QMainWindow>
#include <QStringList>
#include <atomic>

class QLabel;
class QProgressBar;
class QToolButton;
class CComSetup;
class CParameter;
class CNavigation;

class CMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainWindow(QWidget *parent = nullptr);
    ~CMainWindow() override;

    // Safe from any thread: the box opens on the GUI thread.
    void reportError(int index);

    // Shows the link state on the connection button; safe from any thread.
    void setConnectionState(bool online);

    QStringList messageTable; // 22 translated messages
    QToolButton *connectButton = nullptr;
    QLabel *typeValueLabel = nullptr;
    QLabel *progressLabel = nullptr;
    QProgressBar *progressBar = nullptr;
    CComSetup *comSetup = nullptr;
    CParameter *parameterForm = nullptr;
    CNavigation *navigation = nullptr;
    std::atomic<bool> forcePageSelect { false };

signals:
    void showErrorInfo(int index);

public slots:
    void ErrWarning(int index);

private:
    void retranslateStrings();
    void applyConnectionState(bool online);
};
