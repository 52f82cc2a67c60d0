#include "shell/navigation.h"

#include <QLabel>
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
