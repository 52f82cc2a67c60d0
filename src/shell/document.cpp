#include "shell/document.h"

#include "connection/comsetup.h"
#include "comm/globals.h"
#include "platform/filesave.h"
#include "platform/paths.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/savefilename.h"
#include "shell/startup.h"
#include "shell/stationfile.h"
#include "zip/ziparchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeView>
#include <cstdio>
#include <unistd.h>

namespace
{

const QString StationFileName = QStringLiteral("station.txt");
QByteArray pendingStationFile;

// A station.txt holds three short lines; anything near this is not one.
constexpr qint64 MaxStationFileBytes = 1 << 20;
// Far above the data folder the program ships.
constexpr qint64 MaxUpdateItemBytes = 64 << 20;
constexpr qint64 MaxUpdateBytes = 256 << 20;
constexpr int MaxUpdateItems = 10000;

QString dialogStartFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
}

// The zip reader says it cannot open a file that it opened but found no archive in.
QString archiveFault(const QString &path, ZipResult result)
{
    if (result == ZipCannotOpen && QFileInfo(path).isReadable())
        return CMainWindow::tr("no zip archive");
    return QLatin1String(zipResultText(result, false));
}

void warn(CMainWindow *window, const QString &text)
{
    warnAfterEarlierPresses(window, CMainWindow::tr("Warning"), text);
}

// Appends the station under "System setting" unless its number is already in the tree.
void enterStation(CNavigation *navigation, const DocumentStation &station)
{
    if (!navigation->stationTypes.value(station.number).isEmpty())
        return;
    const QString picture = station.type.split(QLatin1Char('-'), Qt::SkipEmptyParts).value(0);
    auto *item = new QStandardItem(QIcon(StationEntry::picturePath(picture)),
        StationEntry::itemText(navigation->numberPrefixText, station.number, station.type));
    item->setEditable(false);
    navigation->treeRoot->appendRow(item);
    navigation->stationEnteredAgain(station.number, station.type);
    navigation->stationTypes[station.number] = station.type;
    // Its drive has not been identified: the generic files, as for a station entered by hand.
    navigation->stationModelCodes[station.number] = QStringLiteral("0");
    navigation->stationModel->sort(0, Qt::AscendingOrder);
    navigation->SysSettreeView->setIconSize(QSize(150, 75));
}

void applySettingsToDialog(CComSetup *dialog)
{
    dialog->ProcomboBox->setCurrentIndex(g_protocolIndex);
    dialog->BaudcomboBox->setCurrentIndex(g_baudIndex);
    dialog->DatacomboBox->setCurrentIndex(g_dataBitsIndex);
    // A change of protocol or parity resets the stop bits, so they come after both.
    dialog->CheckComboBox->setCurrentIndex(g_parityIndex);
    dialog->StopComboBox->setCurrentIndex(g_stopBitsIndex);
    dialog->CRComboBox->setCurrentIndex(g_crLfIndex);
    const int port = dialog->AutoPort->findText(g_portName, Qt::MatchExactly);
    dialog->AutoPort->setCurrentIndex(port >= 0 ? port : 0);
    dialog->TimeComboBox->setCurrentText(g_timeoutText);
}

bool writeDocument(CMainWindow *window, const QString &fileName, const QByteArray &stationFile)
{
    QString reason;
    if (writeDocumentFile(fileName, stationFile, &reason))
        return true;
    warn(window, CMainWindow::tr("Cannot write file %1:\n%2.").arg(fileName, reason));
    return false;
}

void applyStationFile(CMainWindow *window, const StationFile &file)
{
    for (const DocumentStation &station : file.stations)
        enterStation(window->navigation, station);
    if (file.hasComm) {
        applyCommSettings(file.comm);
        applySettingsToDialog(window->comSetup);
    }
    // During a run the table is loaded: a new language reloads its names and help as the menu does.
    if (file.hasLanguage && file.language != g_language)
        window->switchLanguage(static_cast<unsigned char>(file.language));
    else
        window->applyLanguage();
}

int failingMove = 0; // tests: the update's move that fails, counted from 1

bool moveFile(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// The folder holding path, or its nearest existing ancestor, resolved: where a write would land.
QString landingFolder(const QString &path)
{
    QFileInfo folder(QFileInfo(path).path());
    while (!folder.exists() && folder.path() != folder.filePath())
        folder = QFileInfo(folder.path());
    return folder.canonicalFilePath();
}

// Sizes and kinds as the package declares them; the reader stops every item at its declared size, so
// a package within these limits cannot write more than it declares.
bool packageWithinLimits(const QString &package, QString *reason)
{
    ZipArchiveReader reader(ZipArchivePassword);
    const ZipResult opened = reader.openFile(package);
    if (opened != ZipOk) {
        *reason = CMainWindow::tr("it is not an update package (%1)").arg(archiveFault(package, opened));
        return false;
    }
    // A link entry would come out as a file holding the link's target text.
    if (reader.holdsSymbolicLink()) {
        *reason = CMainWindow::tr("it holds a symbolic link");
        return false;
    }
    const QVector<ZipItem> items = reader.items();
    if (items.isEmpty()) {
        *reason = CMainWindow::tr("it holds no files");
        return false;
    }
    if (items.size() != reader.names().size() || items.size() > MaxUpdateItems) {
        *reason = CMainWindow::tr("its list of items is damaged or holds more than %1 items").arg(MaxUpdateItems);
        return false;
    }
    qint64 total = 0;
    for (const ZipItem &item : items) {
        if (item.uncompressedSize < 0 || item.uncompressedSize > MaxUpdateItemBytes) {
            *reason = CMainWindow::tr("an item is larger than %1 MiB").arg(MaxUpdateItemBytes >> 20);
            return false;
        }
        total += item.uncompressedSize;
    }
    if (total > MaxUpdateBytes) {
        *reason = CMainWindow::tr("it is larger than %1 MiB in all").arg(MaxUpdateBytes >> 20);
        return false;
    }
    return true;
}

// The data files are read from the program folder, whatever folder the program was started in.
// The package is unpacked beside them first and moves in only when every item came out whole and
// every target can take it; each file a move replaces is kept until all moves succeeded, and put
// back when one fails, so the data files are either all old or all new.
bool installPackage(const QString &package, const QString &programFolder, QString *reason)
{
    if (!packageWithinLimits(package, reason))
        return false;
    QTemporaryDir staging(programFolder + QStringLiteral(".update-XXXXXX"));
    if (!staging.isValid()) {
        *reason = staging.errorString();
        return false;
    }
    const QString stagingPath = staging.path() + QLatin1Char('/');
    const QString newPath = stagingPath + QStringLiteral("new/");
    const QString oldPath = stagingPath + QStringLiteral("old/");
    const ZipResult extracted =
        ExtractZipArchive(QFile::encodeName(package).constData(), QFile::encodeName(newPath).constData());
    if (extracted != ZipOk) {
        // The reader's texts speak to a programmer; a damaged package is the sender's matter, and the
        // user must know whether the data files still hold. Encrypted data that fail although every
        // entry took the program's password are damaged, not locked with another password.
        ZipArchiveReader sealed(ZipArchivePassword);
        const bool damaged = extracted == ZipCorrupt || extracted == ZipFlationError || extracted == ZipReadFailed
            || (extracted == ZipPassword && sealed.openFile(package) == ZipOk && sealed.passwordFits());
        *reason = damaged
            ? CMainWindow::tr("it is damaged (an item cannot be unpacked); no data file was changed")
            : CMainWindow::tr("it cannot be unpacked (%1)").arg(QLatin1String(zipResultText(extracted, false)));
        return false;
    }

    const QString home = QFileInfo(programFolder).canonicalFilePath() + QLatin1Char('/');
    QStringList files;
    QDirIterator it(
        newPath, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString relative = it.filePath().mid(newPath.size());
        const QString targetPath = programFolder + relative;
        const QFileInfo target(targetPath);
        // A symbolic link of the program folder may lead elsewhere: nothing is written through one
        // that leaves the folder.
        const QString landing = landingFolder(targetPath);
        const QString cannotWrite = CMainWindow::tr("%1 cannot be written").arg(relative);
        if (landing.isEmpty() || !(landing + QLatin1Char('/')).startsWith(home)
            || ::access(QFile::encodeName(landing).constData(), W_OK | X_OK) != 0) {
            *reason = cannotWrite;
            return false;
        }
        if (it.fileInfo().isDir()) {
            if (target.exists() && !target.isDir()) {
                *reason = cannotWrite;
                return false;
            }
            continue;
        }
        // A folder or a write-protected file in the way is not replaced.
        if (target.isDir() || (target.exists() && !(target.permissions() & QFileDevice::WriteOwner))) {
            *reason = cannotWrite;
            return false;
        }
        files.append(relative);
    }

    QStringList createdFolders; // outermost first
    QStringList moved; // new files in place
    QStringList keptAside; // old files moved into oldPath
    // Folders the moves create in the program folder are noted, to be removed again on the way back.
    auto makeFolders = [&createdFolders, &programFolder](const QString &relativeFolder) {
        QString folder = programFolder;
        for (const QString &part : relativeFolder.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            folder += part + QLatin1Char('/');
            if (QFileInfo(folder).isDir())
                continue;
            if (!QDir().mkdir(folder))
                return false;
            createdFolders.append(folder);
        }
        return true;
    };
    bool ok = true;
    int moveNumber = 0;
    for (const QString &relative : files) {
        const QString folder = QFileInfo(relative).path() == QLatin1String(".") ? QString() : QFileInfo(relative).path();
        const QString target = programFolder + relative;
        *reason = CMainWindow::tr("%1 could not be moved into place; the data files are as they were").arg(relative);
        if (!makeFolders(folder)) {
            ok = false;
            break;
        }
        if (QFileInfo(target).isSymLink() || QFileInfo::exists(target)) {
            if (!QDir().mkpath(oldPath + folder) || !moveFile(target, oldPath + relative)) {
                ok = false;
                break;
            }
            keptAside.append(relative);
        }
        if (++moveNumber == failingMove || !moveFile(newPath + relative, target)) {
            ok = false;
            break;
        }
        moved.append(relative);
    }
    if (ok)
        return true;

    bool restored = true;
    for (const QString &relative : moved)
        restored = QFile::remove(programFolder + relative) && restored;
    for (const QString &relative : keptAside)
        restored = moveFile(oldPath + relative, programFolder + relative) && restored;
    for (int i = createdFolders.size() - 1; i >= 0; --i)
        QDir().rmdir(createdFolders.at(i));
    // Should even that fail, the old files stay where they were kept rather than being deleted.
    if (!restored) {
        staging.setAutoRemove(false);
        *reason = CMainWindow::tr("an item could not be moved into place, and the old data files are kept in %1")
                      .arg(QDir::toNativeSeparators(oldPath));
    }
    return false;
}

} // namespace

// The archive is built in a private folder and replaces the target only once it is complete.
bool writeDocumentFile(const QString &fileName, const QByteArray &stationFile, QString *reason)
{
    QTemporaryDir folder;
    if (!folder.isValid()) {
        *reason = folder.errorString();
        return false;
    }
    // Packed from a file, as every document is, so the entry carries a file's attributes and times.
    const QString station = folder.filePath(StationFileName);
    const QString archive = folder.filePath(QStringLiteral("document.tv"));
    if (!saveFile(station, stationFile, reason))
        return false;
    ZipArchiveWriter writer;
    ZipResult result = writer.create(archive);
    if (result == ZipOk) {
        result = writer.addFile(StationFileName, station);
        const ZipResult closed = writer.close();
        if (result == ZipOk)
            result = closed;
    }
    if (result != ZipOk) {
        *reason = QString::fromLocal8Bit(zipResultText(result, true));
        return false;
    }
    QFile built(archive);
    if (!built.open(QIODevice::ReadOnly)) {
        *reason = built.errorString();
        return false;
    }
    return saveFile(fileName, built.readAll(), reason);
}

DocumentRead readDocumentStationFile(const QString &document, QByteArray *contents, QString *reason)
{
    QString ignored;
    if (!reason)
        reason = &ignored;
    contents->clear();
    if (!isDocumentName(document)) {
        *reason = CMainWindow::tr("the name does not end in .tv");
        return DocumentRead::NotDocument;
    }
    // Opening a FIFO or a device waits for a writer; a link is judged by what it leads to.
    const QFileInfo info(document);
    if (info.exists() && !info.isFile()) {
        *reason = CMainWindow::tr("it is not a regular file");
        return DocumentRead::Unreadable;
    }
    // Only the settings are taken: a document from anyone must not be able to place files.
    ZipArchiveReader reader(ZipArchivePassword);
    const ZipResult opened = reader.openFile(document);
    if (opened != ZipOk) {
        // A file that is missing or closed to us is no damaged document: the system says why.
        QFile file(document);
        *reason = file.open(QIODevice::ReadOnly)
            ? CMainWindow::tr("it is not a document (%1)").arg(archiveFault(document, opened))
            : file.errorString();
        return DocumentRead::Unreadable;
    }
    const ZipResult read = reader.read(StationFileName, contents, false, MaxStationFileBytes);
    switch (read) {
    case ZipOk:
        return DocumentRead::Read;
    case ZipNoMemory:
        *reason = CMainWindow::tr("its settings are larger than %1 MiB").arg(MaxStationFileBytes >> 20);
        return DocumentRead::TooLarge;
    case ZipNotFound:
        *reason = CMainWindow::tr("it holds no settings");
        return DocumentRead::Unreadable;
    default:
        *reason = CMainWindow::tr("its settings cannot be read (%1)").arg(QLatin1String(zipResultText(read, false)));
        return DocumentRead::Unreadable;
    }
}

void failUpdateMoveForTest(int k)
{
    failingMove = k;
}

bool installUpdatePackage(const QString &package, const QString &programFolder, QString *reason)
{
    QString ignored;
    return installPackage(package, programFolder, reason ? reason : &ignored);
}

void setPendingStationFile(const QByteArray &contents)
{
    pendingStationFile = contents;
}

QByteArray takePendingStationFile()
{
    const QByteArray contents = pendingStationFile;
    pendingStationFile.clear();
    return contents;
}

void takeStartupStationFile(CNavigation *navigation)
{
    QByteArray contents = takePendingStationFile();
    const QString path = localPath(g_appDir + StationFileName);
    if (QFile::exists(path)) {
        QFile file(path);
        if (contents.isEmpty() && file.open(QIODevice::ReadOnly))
            contents = file.readAll();
        file.close();
        file.remove();
    }
    if (contents.isEmpty())
        return;

    const StationFile settings = parseStationFile(contents);
    // A document holds one station; should a file list several, the lowest number is entered.
    const DocumentStation *lowest = nullptr;
    for (const DocumentStation &station : settings.stations)
        if (!lowest || station.number < lowest->number)
            lowest = &station;
    if (lowest)
        enterStation(navigation, *lowest);
    if (!settings.stations.isEmpty())
        g_stationText = QStringLiteral("Station:") + stationValue(settings.stations.last());
    if (settings.hasLanguage)
        g_language = static_cast<unsigned char>(settings.language);
    if (settings.hasComm)
        applyCommSettings(settings.comm);
}

bool saveDocument(CMainWindow *window, bool askForName)
{
    const DocumentStation station = stationFromLabel(window->navigation->PotLabel->text());
    g_stationText = QStringLiteral("Station:") + (station.number >= 0 ? stationValue(station) : QString());
    CommSettings comm = currentCommSettings();
    // Before the set-up dialog was first shown its port list is empty; the port in use is then the one to keep.
    if (window->comSetup->AutoPort->count() > 0)
        comm.portName = window->comSetup->AutoPort->currentText();
    const QByteArray contents = writeStationFile(station, g_language, comm);

    QString fileName;
    if (!askForName && !g_commandLineDoc.isEmpty()) {
        fileName = g_commandLineDoc;
        g_commandLineDoc.clear();
    } else {
        // Open takes only ".tv": the name gets it whatever was typed.
        fileName = askSaveFileName(window, CMainWindow::tr("Save File"), dialogStartFolder(),
            CMainWindow::tr("ZR Files(*.tv)"), nullptr, SaveEnding::Always);
        if (fileName.isEmpty())
            return false;
    }
    return writeDocument(window, fileName, contents);
}

bool openDocument(CMainWindow *window)
{
    const QString fileName = chooseFileAfterEarlierPresses(window, QFileDialog::AcceptOpen, CMainWindow::tr("Open"),
        dialogStartFolder(), CMainWindow::tr("ZR Files(*.tv)"));
    // Until a document has really been read, no Save may write over the chosen file.
    g_commandLineDoc.clear();
    if (fileName.isEmpty())
        return false;
    QByteArray contents;
    QString reason;
    if (readDocumentStationFile(fileName, &contents, &reason) != DocumentRead::Read) {
        warn(window, CMainWindow::tr("Cannot read file %1:\n%2.").arg(fileName, reason));
        return false;
    }
    applyStationFile(window, parseStationFile(contents));
    g_commandLineDoc = fileName;
    return true;
}

void updateDataFiles(CMainWindow *window)
{
    const QString fileName = chooseFileAfterEarlierPresses(window, QFileDialog::AcceptOpen, CMainWindow::tr("Update"),
        dialogStartFolder(), CMainWindow::tr("ZR Files(*.zr)"));
    if (fileName.isEmpty())
        return;
    if (!fileName.endsWith(QLatin1String(".zr"))) {
        warn(window, CMainWindow::tr("Cannot read file %1:\n%2.").arg(fileName, CMainWindow::tr("the name does not end in .zr")));
        return;
    }
    QString reason;
    warn(window,
        installPackage(fileName, localPath(g_appDir), &reason)
            ? CMainWindow::tr("Complete the update!")
            : CMainWindow::tr("Update false!") + QLatin1Char('\n') + CMainWindow::tr("%1:\n%2.").arg(fileName, reason));
}
