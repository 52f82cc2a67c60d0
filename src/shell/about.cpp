#include "shell/about.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "shell/appglobals.h"
#include "shell/textfit.h"

namespace
{

// The version the form shows until the data folder says otherwise; the catalogues keep it as is,
// so it marks the line to update in every language.
const QLatin1String FormParameterVersion("0.100");

// Index just past the label of a "label:  version" line; a translated label may end in a full-width colon.
int labelEnd(const QString &line)
{
    const int colon = qMax(line.lastIndexOf(QLatin1Char(':')), line.lastIndexOf(QChar(0xFF1A)));
    if (colon >= 0)
        return colon + 1;
    int end = line.size() - FormParameterVersion.size();
    while (end > 0 && line.at(end - 1).isSpace())
        --end;
    return end;
}

} // namespace

CAbout::CAbout(QWidget *parent)
    : QDialog(parent)
{
    // The pictures live in the static library; without a reference the linker would leave them out.
    static const bool picturesRegistered = [] {
        Q_INIT_RESOURCE(about);
        return true;
    }();
    Q_UNUSED(picturesRegistered)
    setupUi(this);
    showParameterVersion();
    setWindowFlags(Qt::WindowSystemMenuHint);
    fitTexts(this);
}

void CAbout::showParameterVersion()
{
    QFile file(g_appDir + QStringLiteral("ParameterInforamtion/TypeInformation.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QByteArray joined;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        joined += line;
    }
    file.close();
    const QString version = QString::fromLatin1(joined);

    QTextDocument *doc = textEdit->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QString line = block.text();
        if (!line.trimmed().endsWith(FormParameterVersion))
            continue;
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + labelEnd(line));
        cursor.setPosition(block.position() + line.size(), QTextCursor::KeepAnchor);
        const QTextCharFormat format = cursor.charFormat();
        cursor.insertText(QStringLiteral("   ") + version, format);
        return;
    }
}
