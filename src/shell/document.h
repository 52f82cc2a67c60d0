#pragma once

// .tv documents (a zip archive holding station.txt) and data-update packages (.zr) as the main
// window saves, opens and applies them.
//
// Update packages: a zip archive whose entries carry the data files' paths relative to the
// program folder ("ParameterInforamtion/InvType/FNC.txt"; "\" separators are taken too). Entries
// may be stored or deflated, and may be encrypted with the traditional zip encryption under the
// fixed password ZipArchivePassword ("731924", zip/zipreader.h); whoever builds packages
// must use exactly that password or none.

#include <QByteArray>
#include <QString>

class CMainWindow;
class CNavigation;

// station.txt of a .tv document, read into memory: nothing of the document reaches the disk. A
// station.txt above 1 MiB is refused unread (TooLarge). reason says why a document was not read.
enum class DocumentRead { Read, NotDocument, Unreadable, TooLarge };
DocumentRead readDocumentStationFile(const QString &document, QByteArray *contents, QString *reason = nullptr);

// Start-up keeps the settings of the document named on the command line here until the dock is built.
void setPendingStationFile(const QByteArray &contents);
QByteArray takePendingStationFile();

// The dock's constructor: applies the pending document settings, else those of a station.txt in
// the program folder, which is then deleted. Enters the lowest station of the file in the tree.
void takeStartupStationFile(CNavigation *navigation);

// Save and Save as. askForName false saves to the current document when there is one (once).
// Failures are reported in a warning box; the old document stays whole until the new one is.
bool saveDocument(CMainWindow *window, bool askForName);

// Save's work without the window: the document holding stationFile replaces fileName only once it is
// whole; false with the reason when it could not.
bool writeDocumentFile(const QString &fileName, const QByteArray &stationFile, QString *reason);

// Open: the user picks a document; its settings are applied and it becomes the current document.
bool openDocument(CMainWindow *window);

// Update: the user picks a package, which is extracted into the program folder.
void updateDataFiles(CMainWindow *window);

// The update's work: true when every item of the package is in place; false leaves the program
// folder as it was, with the reason. Packages over 64 MiB an item, 256 MiB in all or 10000 items are
// refused unread.
bool installUpdatePackage(const QString &package, const QString &programFolder, QString *reason = nullptr);
// Tests: the k-th move of the next updates (from 1) fails as on a full disk; 0 for none.
void failUpdateMoveForTest(int k);
