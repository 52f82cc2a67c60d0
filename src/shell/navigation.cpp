#include "shell/navigation.h"

#include "comm/globals.h"
#include "comm/identify.h"
#include "comm/settype.h"
#include "platform/textfiles.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"

#include <QFile>

#include <QLabel>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

CNavigation::CNavigation(QWidget *parent)
    : QWidget(parent)
    , stationTypes(255)
{
    setObjectName(QStringLiteral("NavForm"));
    retranslateStrings();

    PotLabel = new QLabel(selectStationText + QStringLiteral("---"), this);
    PotLabel->setObjectName(QStringLiteral("PotLabel"));
    stationModel = new QStandardItemModel(this);
    treeRoot = new QStandardItem(QIcon(QStringLiteral(":/new prefix/images/parent_small.png")), systemSettingText);
    treeRoot->setEditable(false);
    stationModel->appendRow(treeRoot);
    SysSettreeView = new QTreeView(this);
    SysSettreeView->setObjectName(QStringLiteral("SysSettreeView"));
    SysSettreeView->setHeaderHidden(true);
    SysSettreeView->setModel(stationModel);
    SysSettreeView->setMinimumWidth(280);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PotLabel);
    layout->addWidget(SysSettreeView);

    stationDialog = new CSetType(nullptr);
    stationDialog->hide();
}

CNavigation::~CNavigation()
{
    delete stationDialog;
}

void CNavigation::loadInverterTypes()
{
    if (g_invType.isEmpty())
        return;
    bool ok = false;
    const QStringList lines = readTextLines(invTypeFilePath(), gbkCodec(), &ok);
    if (!ok) {
        QFile file(invTypeFilePath());
        file.open(QIODevice::ReadOnly);
        QMessageBox::warning(this, tr("Warning"),
                             tr("Cannot read file %1:\n%2.").arg(invTypeFilePath(), file.errorString()));
        return;
    }
    QString name = g_invType.split(QLatin1Char('-'), Qt::SkipEmptyParts).value(0);
    if (g_invType.contains(QLatin1String("VR3")) && g_invType.contains(QLatin1String("-L")))
        name = QStringLiteral("VR3-L");
    else if (g_invType.contains(QLatin1String("-GT")))
        name = QStringLiteral("VP-GT");
    else if (g_invType.contains(QLatin1String("-G")))
        name = QStringLiteral("VP/VP-G");
    for (const QString &line : lines) {
        const QStringList fields = line.split(QStringLiteral("//"), Qt::SkipEmptyParts);
        if (fields.size() < 5 || fields.at(1) != name)
            continue;
        g_invTypeFields = fields;
        g_seriesLetter = fields.at(0).isEmpty() ? '0' : fields.at(0).at(0).toLatin1();
        g_modelName = fields.at(1);
        g_firmwareVersion = fields.at(2);
        g_parameterCount = fields.at(3).toInt();
        g_groupMode = fields.at(4).toInt();
        return;
    }
}

void CNavigation::startModeDisplay()
{
    // The operation-mode poller and its display are started here once the dock has them.
}

void CNavigation::retranslateStrings()
{
    systemSettingText = tr("System setting");
    selectStationText = tr("Select station: ");
    numberPrefixText = tr("NO.");
}

void CNavigation::changeLanguage()
{
    retranslateStrings();
    stationDialog->initTexts();
    treeRoot->setText(systemSettingText);
}

int CNavigation::checkConnection()
{
    if (g_connectionTest)
        return 0;
    int station = -1;
    for (const QString &word : PotLabel->text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word.contains(QLatin1String("NO."))) {
            station = QString(word).remove(QLatin1String("NO.")).toInt();
            break;
        }
    }
    if (station >= 0 && station < 255 && stationTested[station] != 0)
        return 0;
    if (station >= 0)
        QMessageBox::warning(this, tr("Warning"), tr("Please execute connection test first!"));
    if (g_mainWindow)
        g_mainWindow->setConnectionState(false);
    return -1;
}
