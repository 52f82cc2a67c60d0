#include "platform/desktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace
{

void openWithDesktop(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

DocumentOpener &currentOpener()
{
    static DocumentOpener opener = openWithDesktop;
    return opener;
}

} // namespace

void openDocument(const QString &path)
{
    if (path.isEmpty())
        return;
    currentOpener()(path);
}

void setDocumentOpener(DocumentOpener opener)
{
    currentOpener() = opener ? std::move(opener) : DocumentOpener(openWithDesktop);
}
