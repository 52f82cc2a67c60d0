#include "platform/desktop.h"

#include <QDesktopServices>
#include <QStandardPaths>
#include <QUrl>

namespace
{

bool openWithDesktop(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

DocumentOpener &currentOpener()
{
    static DocumentOpener opener = openWithDesktop;
    return opener;
}

} // namespace

bool openDocument(const QString &path)
{
    if (path.isEmpty())
        return false;
    return currentOpener()(path);
}

void setDocumentOpener(DocumentOpener opener)
{
    currentOpener() = opener ? std::move(opener) : DocumentOpener(openWithDesktop);
}

bool desktopLauncherFound()
{
    return !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty();
}

bool helpViewerFound()
{
    for (const char *viewer : { "xchm", "kchmviewer" }) {
        if (!QStandardPaths::findExecutable(QLatin1String(viewer)).isEmpty())
            return true;
    }
    return false;
}
