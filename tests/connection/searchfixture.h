#pragma once

// End-to-end set-up of the connection search: the program's main window on a port that the
// simulated drive plays, with a journal of what crossed the line.

#include "connection/comsetup.h"
#include "comm/globals.h"
#include "modalwatcher.h"
#include "pseudoterminal.h"
#include "simdrive.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "testdirs.h"
#include "userinput.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

// A program folder whose data are the shipped ones.
inline bool makeAppDir(const QTemporaryDir &dir)
{
    for (const char *name : { "ParameterInforamtion", "InvParameter", "images" }) {
        if (!QFile::link(binDir() + '/' + name, dir.path() + '/' + name))
            return false;
    }
    g_appDir = dir.path() + '/';
    return true;
}

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
};
