#include "shell/startup.h"

#include "comm/globals.h"
#include "comm/typeinfo.h"
#include "monitor/monitorthread.h"
#include "platform/filesave.h"
#include "platform/registry.h"
#include "shell/appglobals.h"
#include "shell/document.h"
#include "shell/earlierpresses.h"
#include "shell/operationlog.h"
#include "shell/shellreports.h"
#include "shell/windowplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

namespace
{

const char ProgramName[] = "TavironINV";
const char DocumentKey[] = "HKEY_CLASSES_ROOT\\.tv";
const char IconKey[] = "HKEY_CLASSES_ROOT\\TavironINV\\DefaultIcon";
const char CommandKey[] = "HKEY_CLASSES_ROOT\\TavironINV\\shell\\open\\command";
const char DocumentMimeType[] = "application/x-tavironinv-document";

QString dataHome()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    return xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : xdg;
}

// An argument of a desktop entry's Exec key: quoted, with the characters that the quoting and the
// key's own escaping treat specially escaped.
QString execArgument(const QString &path)
{
    QString quoted;
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c == QLatin1Char('%') ? QStringLiteral("%%") : QString(c);
    }
    quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// True when the file was (re)written: whole, beside the old one, flushed and renamed over it.
bool writeIfChanged(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.readAll() == contents)
        return false;
    file.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    return saveFile(path, contents, nullptr);
}

void runIfPresent(const QString &tool, const QString &folder)
{
    const QString path = QStandardPaths::findExecutable(tool);
    if (path.isEmpty())
        return;
    QProcess process;
    process.setProgram(path);
    process.setArguments({ folder });
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.startDetached();
}

} // namespace

void initShellResources()
{
    Q_INIT_RESOURCE(resources);
    keepWindowsOnScreen();
}

QString applicationFolder(const QString &dirPath)
{
    QString folder = QDir::cleanPath(dirPath);
    if (QFileInfo(folder).fileName() == QLatin1String("release"))
        folder = QFileInfo(folder).path();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

bool isDocumentName(const QString &name)
{
    return name.endsWith(QLatin1String(".tv"));
}

bool registerDocumentType(const QString &argv0, const QString &appFilePath)
{
    const QString program = QLatin1String(ProgramName);
    if (Registry::value(QLatin1String(DocumentKey), QString()).toString() == program)
        return false;
    Registry::remove(QLatin1String(DocumentKey), QString());
    Registry::setValue(QLatin1String(DocumentKey), QString(), program);
    Registry::remove(QLatin1String(IconKey), QString());
    Registry::setValue(QLatin1String(IconKey), QString(), argv0 + QStringLiteral(",0"));
    Registry::setValue(QLatin1String(CommandKey), QString(), appFilePath + QStringLiteral(" %1"));
    return true;
}

void notifyAssociationChanged(const QString &appFilePath)
{
    const QString mimeType = QLatin1String(DocumentMimeType);
    const QByteArray mimeInfo
        = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                         "  <mime-type type=\"%1\">\n"
                         "    <comment>TavironINV document</comment>\n"
                         "    <glob pattern=\"*.tv\" case-sensitive=\"true\"/>\n"
                         "  </mime-type>\n"
                         "</mime-info>\n")
              .arg(mimeType)
              .toUtf8();
    const QByteArray desktopEntry = QStringLiteral("[Desktop Entry]\n"
                                                   "Type=Application\n"
                                                   "Name=TavironINV\n"
                                                   "Exec=%1 %f\n"
                                                   "MimeType=%2;\n"
                                                   "Terminal=false\n")
                                        .arg(execArgument(appFilePath), mimeType)
                                        .toUtf8();

    const QString mimeFolder = dataHome() + QStringLiteral("/mime");
    const QString applicationsFolder = dataHome() + QStringLiteral("/applications");
    if (writeIfChanged(mimeFolder + QStringLiteral("/packages/TavironINV.xml"), mimeInfo))
        runIfPresent(QStringLiteral("update-mime-database"), mimeFolder);
    if (writeIfChanged(applicationsFolder + QStringLiteral("/TavironINV.desktop"), desktopEntry))
        runIfPresent(QStringLiteral("update-desktop-database"), applicationsFolder);
}

void resetDriveGlobals()
{
    clearStation();
    g_seriesLetter = '0';
    g_replyError = false;
}

void runStartUpSteps(const QStringList &arguments, const QString &appFilePath, const QString &appDirPath)
{
    installShellReports();
    g_appFilePath = appFilePath;
    g_appDir = applicationFolder(appDirPath);

    // Only a document that really holds settings becomes the one the next Save writes over.
    g_commandLineDoc.clear();
    const QString document = arguments.value(1);
    QByteArray settings;
    QString reason;
    switch (readDocumentStationFile(document, &settings, &reason)) {
    case DocumentRead::Read:
        g_commandLineDoc = QFileInfo(document).absoluteFilePath();
        setPendingStationFile(settings);
        break;
    case DocumentRead::NotDocument:
        // No argument, or one that names no document: nothing was asked of us.
        break;
    default:
        // Silence would pass the program's defaults off as the document's settings.
        warnAfterEarlierPresses(nullptr, QCoreApplication::translate("CMainWindow", "Warning"),
            QCoreApplication::translate("CMainWindow", "Cannot read file %1:\n%2.").arg(document, reason));
        break;
    }

    registerDocumentType(arguments.value(0), g_appFilePath);
    notifyAssociationChanged(g_appFilePath);

    startOperationLogRun();
    resetDriveGlobals();
    loadTypeInfo();
    g_monitorThread = new MonitorThread();
}
