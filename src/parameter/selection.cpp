#include "parameter/selection.h"

#include "parameter/parameter.h"
#include "parameter/paramglobals.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "shell/textfit.h"

#include <QHeaderView>
#include <QIcon>
#include <QTreeWidgetItemIterator>

namespace {

constexpr Qt::ItemFlags TreeItemFlags = Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;
constexpr int KindRole = Qt::UserRole; // 0 group, 1 parameter

CParameter *parameterForm()
{
    return g_mainWindow ? g_mainWindow->parameterForm : nullptr;
}

QString keyOf(const CParameter *form, int row)
{
    return form->cellText(row, g_sortFlag != 0 ? 1 : 0);
}

QString entryText(const CParameter *form, int row)
{
    return keyOf(form, row) + QLatin1Char(' ') + form->cellText(row, 3);
}

} // namespace

ParameterGroup parameterGroup(const QString &key, bool byNumber)
{
    if (byNumber) {
        QString digits = key;
        digits.remove(QStringLiteral("P."), Qt::CaseInsensitive).remove(QLatin1Char(' '));
        const int number = digits == QLatin1String("99X") ? 995 : digits.toInt();
        const int group = number / 100;
        const QString label = group >= 0 && group <= 15
                                  ? QStringLiteral("P.%1~P.%2").arg(group * 100).arg(group * 100 + 99)
                                  : QString();
        return { QString::number(group), label };
    }
    if (key.contains(QLatin1String("--")))
        return {};
    const QString head = key.split(QLatin1Char('-'), Qt::SkipEmptyParts).value(0);
    if (head.isEmpty())
        return {};
    return { head, QLatin1Char(' ') + head + CSelPar::tr(" Group") };
}

CSelPar::CSelPar(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    // The right-hand list as placed ends a pixel past the window's edge, its frame cut off: the
    // window takes it in.
    if (tableRight->geometry().right() >= width())
        resize(tableRight->geometry().right() + 1, height());
    initTables();
    connect(tableLeft, &QTreeWidget::itemClicked, this, &CSelPar::onItemClicked);
    connect(AddButton, &QPushButton::clicked, this, &CSelPar::addPara);
    connect(DeleteButton, &QPushButton::clicked, this, &CSelPar::deletePara);
    connect(OKButton, &QPushButton::clicked, this, &CSelPar::ok);
    connect(CancleButton, &QPushButton::clicked, this, &CSelPar::cancle);
    showElidedTextsAsToolTips(tableLeft);
    showElidedTextsAsToolTips(tableRight);
    fitTexts(this);
}

CSelPar::~CSelPar() = default;

void CSelPar::initTables()
{
    tableLeft->setColumnCount(2);
    tableLeft->setColumnWidth(0, 200);
    tableLeft->setColumnWidth(1, 41);
    tableLeft->header()->setStretchLastSection(false);
    tableLeft->setHeaderHidden(true);
    tableLeft->setRootIsDecorated(false);
    tableLeft->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tableLeft->setIconSize(QSize(25, 12));
    tableLeft->setStyleSheet(QStringLiteral(
        "QTreeWidget::item{height:20px} "
        "QTreeView::indicator:checked{image:url(:/new prefix/images/ckChecked.png);} "
        "QTreeView::indicator:unchecked{image:url(:/new prefix/images/ckUncheck.png);} "
        "QTreeView::indicator:indeterminate{image:url(:/new prefix/images/ckChecked_unable.png);}"));
    BuildGroupTree();

    const CParameter *form = parameterForm();
    tableRight->setColumnCount(1);
    tableRight->horizontalHeader()->hide();
    tableRight->verticalHeader()->hide();
    tableRight->setShowGrid(false);
    tableRight->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    tableRight->setRowCount(mainRowCount);
    for (int i = 0; i < mainRowCount; ++i) {
        auto *item = new QTableWidgetItem(entryText(form, i));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        tableRight->setItem(i, 0, item);
        tableRight->setRowHeight(i, 20);
        tableRight->hideRow(i);
    }
    tableRight->resizeColumnsToContents();
}

void CSelPar::BuildGroupTree()
{
    const CParameter *form = parameterForm();
    mainRowCount = form ? form->PartableWidget->rowCount() : 0;
    QIcon arrow;
    arrow.addFile(g_appDir + QStringLiteral("images/arrow.png"), QSize(), QIcon::Normal, QIcon::Off);
    arrow.addFile(g_appDir + QStringLiteral("images/arrow_expend.png"), QSize(), QIcon::Normal, QIcon::On);

    QTreeWidgetItem *group = nullptr;
    QString groupId;
    for (int i = 0; i < mainRowCount; ++i) {
        if (form->PartableWidget->isRowHidden(i))
            continue;
        const ParameterGroup g = parameterGroup(keyOf(form, i), g_sortFlag != 0);
        if (g.id.isEmpty())
            continue;
        if (!group || g.id != groupId) {
            group = new QTreeWidgetItem(tableLeft, QStringList(g.label));
            group->setIcon(0, arrow);
            group->setData(0, KindRole, 0);
            group->setFlags(TreeItemFlags);
            group->setCheckState(1, Qt::Unchecked);
            groupId = g.id;
        }
        auto *child = new QTreeWidgetItem(group, QStringList(entryText(form, i)));
        child->setFlags(TreeItemFlags);
        child->setCheckState(1, Qt::Unchecked);
        child->setData(0, KindRole, 1);
    }
}

void CSelPar::onItemClicked(QTreeWidgetItem *item, int column)
{
    if (column == 0 && item->data(0, KindRole).toInt() == 0)
        item->setExpanded(!item->isExpanded());
    propagateCheckState(item);
}

void CSelPar::propagateCheckState(QTreeWidgetItem *item)
{
    const Qt::CheckState state = item->checkState(1);
    if (state == Qt::PartiallyChecked)
        return;
    if (item->childCount() == 0) {
        updateParentCheckState(item);
        return;
    }
    for (int c = 0; c < item->childCount(); ++c)
        item->child(c)->setCheckState(1, state);
}

void CSelPar::updateParentCheckState(QTreeWidgetItem *item)
{
    QTreeWidgetItem *parent = item->parent();
    if (!parent)
        return;
    int checked = 0;
    for (int c = 0; c < parent->childCount(); ++c)
        checked += parent->child(c)->checkState(1) == Qt::Checked ? 1 : 0;
    if (checked > 0 && checked < parent->childCount()) {
        parent->setCheckState(1, Qt::PartiallyChecked);
        markAncestorsPartial(parent);
        return;
    }
    parent->setCheckState(1, checked > 0 ? Qt::Checked : Qt::Unchecked);
    updateParentCheckState(parent);
}

void CSelPar::markAncestorsPartial(QTreeWidgetItem *item)
{
    for (QTreeWidgetItem *a = item->parent(); a; a = a->parent())
        a->setCheckState(1, Qt::PartiallyChecked);
}

void CSelPar::addPara()
{
    for (int r = 0; r < mainRowCount; ++r)
        tableRight->hideRow(r);
    // Tree and list follow the table's order, so one forward walk pairs every ticked item with its row.
    int j = 0;
    for (QTreeWidgetItemIterator it(tableLeft); *it && j < mainRowCount; ++it) {
        QTreeWidgetItem *item = *it;
        if (item->checkState(1) != Qt::Checked || item->childCount() != 0)
            continue;
        while (j < mainRowCount && tableRight->item(j, 0)->text() != item->text(0))
            ++j;
        if (j < mainRowCount)
            tableRight->showRow(j);
    }
    tableRight->resizeColumnsToContents();
}

void CSelPar::deletePara()
{
    QModelIndexList selected = tableRight->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    // The walk below meets the rows in list order; a selection made bottom-up must not stop it half-way.
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    int k = 0;
    for (QTreeWidgetItemIterator it(tableLeft); *it && k < selected.size(); ++it) {
        QTreeWidgetItem *item = *it;
        const int row = selected.at(k).row();
        if (item->text(0) != tableRight->item(row, 0)->text())
            continue;
        tableRight->hideRow(row);
        item->setCheckState(1, Qt::Unchecked);
        updateParentCheckState(item);
        ++k;
    }
}

void CSelPar::ok()
{
    g_selectedRows.clear();
    for (int r = 0; r < tableRight->rowCount(); ++r) {
        if (!tableRight->isRowHidden(r))
            g_selectedRows.append(r);
    }
    accept();
}

void CSelPar::cancle()
{
    close();
}
