#pragma once

// The navigation dock: the station label and the station tree. The mode and drive-command
// controls grow here with the dock's own work.

#include <QVector>
#include <QWidget>

class QLabel;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

class CNavigation : public QWidget
{
    Q_OBJECT
public:
    explicit CNavigation(QWidget *parent = nullptr);

    void changeLanguage();

    QLabel *PotLabel = nullptr;
    QTreeView *SysSettreeView = nullptr;

    QVector<QString> stationTypes;
    int stationTested[255] = {};
    QStandardItem *treeRoot = nullptr;
    QStandardItem *currentItem = nullptr;
    QStandardItemModel *stationModel = nullptr;
    QString systemSettingText;
    QString selectStationText;
    QString numberPrefixText;

private:
    void retranslateStrings();
};
