#include "connection/settype.h"

#include "comm/globals.h"
#include "platform/appstate.h"
#include "platform/paths.h"
#include "platform/textfiles.h"
#include "shell/textfit.h"

#include <QRegularExpression>

Qt::WindowFlags dialogWindowFlags()
{
    // A title bar with a close button and no context-help button; the dialog type keeps the window
    // a top-level one even when it has a parent.
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint;
}

QStringList mgrHeaderPieces(const QString &line)
{
    static const QRegularExpression brackets(QStringLiteral("\\[|\\]"));
    return line.split(brackets, Qt::SkipEmptyParts);
}

QStringList mgrEntryPieces(const QString &line)
{
    static const QRegularExpression separators(QStringLiteral("=|,"));
    return line.split(separators, Qt::SkipEmptyParts);
}

QStringList mgrEntryValues(const QString &line, const QString &key)
{
    QStringList pieces = mgrEntryPieces(line);
    if (pieces.size() < 2 || pieces.first() != key)
        return {};
    pieces.removeFirst();
    return pieces;
}

QString mgrFilePath()
{
    return localPath(g_appDir + QStringLiteral("ParameterInforamtion\\InvType\\InvType.mgr"));
}

QStringList readMgrLines(bool *ok)
{
    bool read = false;
    QStringList lines = readDataLines(mgrFilePath(), gbkCodec(), &read);
    if (ok)
        *ok = read;
    // White space at the start of the file, blank lines included, comes before the first line.
    while (!lines.isEmpty() && lines.first().trimmed().isEmpty())
        lines.removeFirst();
    if (!lines.isEmpty()) {
        QString &first = lines.first();
        int start = 0;
        while (start < first.size() && first.at(start).isSpace())
            ++start;
        first.remove(0, start);
    }
    return lines;
}

CSetType::CSetType(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    initTexts();
    InvTypecomboBox->addItem(noneText);

    bool ok = false;
    const QStringList lines = readMgrLines(&ok);
    if (ok) {
        int next = 0;
        auto readLine = [&]() { return next < lines.size() ? lines.at(next++) : QString(); };
        const QStringList header = mgrHeaderPieces(readLine());
        if (!header.isEmpty() && header.first() == QLatin1String("inv_Type"))
            InvTypecomboBox->addItems(mgrEntryValues(readLine(), QStringLiteral("TYPE")));
        readLine(); // the separating line
        const QStringList ratings = mgrHeaderPieces(readLine());
        if (!ratings.isEmpty() && ratings.first() == QLatin1String("PW_ID")) {
            const QStringList power = mgrEntryValues(readLine(), QStringLiteral("POWER"));
            if (!power.isEmpty())
                g_powerList = power.toVector();
            const QStringList powerOld = mgrEntryValues(readLine(), QStringLiteral("POWER_OLD"));
            if (!powerOld.isEmpty())
                g_powerOldList = powerOld.toVector();
        }
    }

    InvVolcomboBox->setEnabled(false);
    connect(SetTypeOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(SetTypeCancelPB, &QPushButton::clicked, this, &QDialog::reject);
    connect(InvTypecomboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &CSetType::InvTypeCH);
    setWindowFlags(dialogWindowFlags());
    setWindowIcon(QIcon(QStringLiteral(":/new prefix/images/Taviron.ico")));
    fitTexts(this);
}

CSetType::~CSetType() = default;

void CSetType::initTexts()
{
    retranslateUi(this);
    noneText = tr("None");
    fitTexts(this);
}

void CSetType::InvTypeCH(int TypeIndex)
{
    InvVolcomboBox->clear();
    if (TypeIndex == 0) {
        InvVolcomboBox->setEnabled(false);
        return;
    }
    InvVolcomboBox->setEnabled(true);
    const QString chosen = InvTypecomboBox->currentText();
    bool ok = false;
    const QStringList lines = readMgrLines(&ok);
    if (!ok)
        return;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList header = mgrHeaderPieces(lines.at(i));
        if (header.isEmpty() || header.first() != chosen)
            continue;
        ++i;
        if (i < lines.size())
            InvVolcomboBox->addItems(mgrEntryValues(lines.at(i), QStringLiteral("POWER")));
    }
    if (InvVolcomboBox->count() > 0)
        InvVolcomboBox->setCurrentIndex(0);
    // The ratings differ in length from type to type.
    fitTexts(this);
}
