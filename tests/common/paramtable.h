#pragma once

// The main window's parameter form, for the dialogs that reach the table through the main window, with
// a way to lay a small table of known rows into it.

#include "modalwatcher.h"
#include "parameter/parameter.h"
#include "pseudoterminal.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "testdirs.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QStringList>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class MainWindowForm {
public:
    // Builds the window in a folder of its own, with a private registry, so it touches nothing of the user's.
    MainWindowForm()
    {
        const QString invType = m_appDir.path() + QStringLiteral("/ParameterInforamtion/InvType/");
        QDir().mkpath(invType);
        QFile::copy(binDir() + QStringLiteral("/ParameterInforamtion/InvType/FNC.txt"), invType + "FNC.txt");
        g_appDir = m_appDir.path() + QLatin1Char('/');
        ModalWatcher closeAll([](QWidget *modal) { modal->close(); });
        m_window.reset(new CMainWindow(nullptr));
        g_mainWindow = m_window.get();
        g_appDir = binDir() + QLatin1Char('/');
    }
    ~MainWindowForm()
    {
        m_window.reset();
        g_mainWindow = nullptr;
    }

    CMainWindow *window() { return m_window.get(); }
    // Shows the window large enough for the form's buttons to be laid out and clicked.
    bool showForm()
    {
        m_window->resize(1280, 960);
        m_window->show();
        m_window->parameterForm->show();
        return QTest::qWaitForWindowExposed(m_window.get());
    }
    CParameter &form() { return *m_window->parameterForm; }
    QTableWidget *table() { return m_window->parameterForm->PartableWidget; }

    // Each row maps columns to texts; columns not given stay without an item.
    void setRows(const QList<QMap<int, QString>> &rows)
    {
        QTableWidget *t = table();
        t->setSortingEnabled(false);
        t->clearContents();
        t->setRowCount(rows.size());
        for (int r = 0; r < rows.size(); ++r) {
            t->showRow(r);
            for (auto it = rows.at(r).cbegin(); it != rows.at(r).cend(); ++it)
                t->setItem(r, it.key(), new QTableWidgetItem(it.value()));
        }
        form().tableRows = rows.size();
    }

private:
    TemporaryRegistry m_registry;
    QTemporaryDir m_appDir;
    std::unique_ptr<CMainWindow> m_window;
};
