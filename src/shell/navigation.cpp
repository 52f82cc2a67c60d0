#include "shell/navigation.h"

#include "comm/globals.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"

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
