#pragma once

// The steps of start-up between creating the application object and building the main window.

#include <QString>
#include <QStringList>

// Makes the compiled-in pictures available; the library is static, so its resources need a nudge.
void initShellResources();

// The program folder with a trailing "/"; a last folder named "release" (a build folder) is dropped.
QString applicationFolder(const QString &dirPath);

// True for a name that ends in ".tv", the program's documents.
bool isDocumentName(const QString &name);

// Registers the program as the handler of .tv documents in the registry stand-in. Writes the three
// values only when ".tv" does not name the program yet; returns whether it wrote them.
bool registerDocumentType(const QString &argv0, const QString &appFilePath);

// The desktop's side of the association: a MIME glob for *.tv and a .desktop entry under
// $XDG_DATA_HOME. Files are rewritten only when their contents differ.
void notifyAssociationChanged(const QString &appFilePath);

// Station and drive identity as before any drive has been seen.
void resetDriveGlobals();

// Runs start-up from the paths to the monitor poller: arguments as the process received them,
// the program's file path and its folder.
void runStartUpSteps(const QStringList &arguments, const QString &appFilePath, const QString &appDirPath);
