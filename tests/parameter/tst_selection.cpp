// The parameter selection dialog driven as a user drives it: the offered tree, ticks, Add, Delete, OK.

#include "comm/globals.h"
#include "parameter/paramglobals.h"
#include "parameter/selection.h"
#include "paramtable.h"
#include "userinput.h"

#include <QHeaderView>
#include <QStyle>
#include <QTest>
#include <QTreeWidgetItemIterator>

namespace {

using Row = QMap<int, QString>;

Row row(const QString &group, const QString &label, const QString &name)
{
    return { { 0, group }, { 1, label }, { 3, name } };
}

// Row 4 is hidden in the main table; row 3 has no group code.
const QList<Row> &knownRows()
{
    static const QList<Row> rows = {
        row("00-00", "P.   0", "Torque boost"),
        row("01-00", "P.   1", "Maximum frequency"),
        row("01-01", "P.   2", "Minimum frequency"),
        row("--", "P.   5", "Multi-speed 2"),
        row("01-02", "P.   6", "Multi-speed 3"),
        row("05-00", "P. 100", "Input terminal X1 function"),
        row("05-01", "P. 101", "Input terminal X2 function"),
        row("00-02", "P. 99X", "Clear and reset commands"),
        row("04-00", "P.1250", "User parameter"),
    };
    return rows;
}

// "label: child, child" per top-level item.
QStringList treeOutline(QTreeWidget *tree)
{
    QStringList outline;
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = tree->topLevelItem(g);
        QStringList children;
        for (int c = 0; c < group->childCount(); ++c)
            children << group->child(c)->text(0);
        outline << group->text(0) + ": " + children.join(", ");
    }
    return outline;
}

QTreeWidgetItem *findItem(QTreeWidget *tree, const QString &text)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) == text)
            return *it;
    }
    return nullptr;
}

void clickCheckBox(QTreeWidget *tree, QTreeWidgetItem *item)
{
    tree->scrollToItem(item);
    QStyleOptionViewItem option;
    option.initFrom(tree->viewport());
    option.rect = tree->visualItemRect(item);
    option.rect.setLeft(tree->header()->sectionViewportPosition(1));
    option.rect.setWidth(tree->header()->sectionSize(1));
    option.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, box.center());
}

void clickText(QTreeWidget *tree, QTreeWidgetItem *item)
{
    tree->scrollToItem(item);
    QRect rect = tree->visualItemRect(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 60, rect.center().y()));
}

QStringList listed(QTableWidget *list)
{
    QStringList texts;
    for (int r = 0; r < list->rowCount(); ++r) {
        if (!list->isRowHidden(r))
            texts << list->item(r, 0)->text();
    }
    return texts;
}

QString states(QTreeWidget *tree)
{
    QString s;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        s += (*it)->checkState(1) == Qt::Checked ? 'X' : (*it)->checkState(1) == Qt::PartiallyChecked ? '~' : '.';
    return s;
}

} // namespace

class TestSelection : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindowForm> m_main;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void formOfTheDialog();
    void offersVisibleRowsByGroup_data();
    void offersVisibleRowsByGroup();
    void ticksFollowGroupsAndParameters();
    void addDeleteAndConfirm();
    void deleteTakesEverySelectedRow();
    void cancelKeepsTheEarlierChoice();
    void displayModeShowsTheChoiceAndShowAllUndoesIt();
};

void TestSelection::initTestCase()
{
    m_main.reset(new MainWindowForm);
    QVERIFY(m_main->showForm());
}

void TestSelection::cleanupTestCase()
{
    m_main.reset();
}

void TestSelection::init()
{
    m_main->setRows(knownRows());
    m_main->table()->hideRow(4);
    g_sortFlag = 1;
    g_selectedRows = { 99 };
}

void TestSelection::formOfTheDialog()
{
    CSelPar dialog;
    QCOMPARE(dialog.objectName(), QString("SelectParameter"));
    QCOMPARE(dialog.windowTitle(), QString("Select Parameter"));
    QCOMPARE(dialog.tableLeft->geometry(), QRect(0, 0, 261, 271));
    QCOMPARE(dialog.tableRight->geometry(), QRect(390, 0, 261, 271));
    // Both lists lie wholly inside the window, which is no smaller than 650 x 321.
    QCOMPARE(dialog.size(), QSize(651, 321));
    QVERIFY(dialog.rect().contains(dialog.tableRight->geometry()));
    const QList<QPair<QPushButton *, QString>> buttons = { { dialog.AddButton, "Add" },
                                                           { dialog.DeleteButton, "Delete" },
                                                           { dialog.OKButton, "OK" },
                                                           { dialog.CancleButton, "Cancle" } };
    const QList<QRect> places = { { 290, 50, 71, 31 }, { 290, 160, 71, 31 }, { 470, 280, 71, 31 },
                                  { 560, 280, 71, 31 } };
    for (int i = 0; i < buttons.size(); ++i) {
        QCOMPARE(buttons.at(i).first->text(), buttons.at(i).second);
        QCOMPARE(buttons.at(i).first->geometry(), places.at(i));
    }
    QVERIFY(dialog.tableLeft->isHeaderHidden());
    QCOMPARE(dialog.tableLeft->columnWidth(0), 200);
    QCOMPARE(dialog.tableLeft->columnWidth(1), 41);
    QCOMPARE(dialog.mainRowCount, 9);
    QCOMPARE(dialog.tableRight->rowCount(), 9);
    QCOMPARE(listed(dialog.tableRight), QStringList());
    QCOMPARE(dialog.tableRight->item(4, 0)->text(), QString("P.   6 Multi-speed 3"));
}

void TestSelection::offersVisibleRowsByGroup_data()
{
    QTest::addColumn<int>("sortFlag");
    QTest::addColumn<QStringList>("outline");
    QTest::newRow("by number") << 1
                               << QStringList { "P.0~P.99: P.   0 Torque boost, P.   1 Maximum frequency, "
                                                "P.   2 Minimum frequency, P.   5 Multi-speed 2",
                                                "P.100~P.199: P. 100 Input terminal X1 function, "
                                                "P. 101 Input terminal X2 function",
                                                "P.900~P.999: P. 99X Clear and reset commands",
                                                "P.1200~P.1299: P.1250 User parameter" };
    // A group code with "--" is not offered; a group met again later opens again.
    QTest::newRow("by group") << 0
                              << QStringList { " 00 Group: 00-00 Torque boost",
                                               " 01 Group: 01-00 Maximum frequency, 01-01 Minimum frequency",
                                               " 05 Group: 05-00 Input terminal X1 function, "
                                               "05-01 Input terminal X2 function",
                                               " 00 Group: 00-02 Clear and reset commands",
                                               " 04 Group: 04-00 User parameter" };
}

void TestSelection::offersVisibleRowsByGroup()
{
    QFETCH(int, sortFlag);
    QFETCH(QStringList, outline);
    g_sortFlag = static_cast<unsigned char>(sortFlag);
    CSelPar dialog;
    QCOMPARE(treeOutline(dialog.tableLeft), outline);
    for (QTreeWidgetItemIterator it(dialog.tableLeft); *it; ++it) {
        QCOMPARE((*it)->data(0, Qt::UserRole).toInt(), (*it)->parent() ? 1 : 0);
        QCOMPARE((*it)->checkState(1), Qt::Unchecked);
    }
}

void TestSelection::ticksFollowGroupsAndParameters()
{
    CSelPar dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTreeWidget *tree = dialog.tableLeft;
    QTreeWidgetItem *group = tree->topLevelItem(0);

    // A click on the group's text opens it and ticks nothing; a second closes it.
    clickText(tree, group);
    QVERIFY(group->isExpanded());
    clickText(tree, group);
    QVERIFY(!group->isExpanded());
    QCOMPARE(states(tree), QString("............"));
    clickText(tree, group);

    clickCheckBox(tree, group);
    QCOMPARE(states(tree), QString("XXXXX......."));
    clickCheckBox(tree, group->child(1));
    QCOMPARE(states(tree), QString("~X.XX......."));
    // A click on a parameter's text changes no tick.
    clickText(tree, group->child(0));
    QCOMPARE(states(tree), QString("~X.XX......."));
    clickCheckBox(tree, group->child(0));
    clickCheckBox(tree, group->child(2));
    QCOMPARE(states(tree), QString("~...X......."));
    clickCheckBox(tree, group->child(3));
    QCOMPARE(states(tree), QString("............"));
    // A partly ticked group ticks whole when its box is clicked.
    clickCheckBox(tree, group->child(3));
    clickCheckBox(tree, group);
    QCOMPARE(states(tree), QString("XXXXX......."));
}

void TestSelection::addDeleteAndConfirm()
{
    CSelPar dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTreeWidget *tree = dialog.tableLeft;
    tree->expandAll();
    clickCheckBox(tree, findItem(tree, "P.   1 Maximum frequency"));
    clickCheckBox(tree, findItem(tree, "P.1250 User parameter"));
    clickCheckBox(tree, findItem(tree, "P.100~P.199"));
    // Ticks alone choose nothing.
    QCOMPARE(listed(dialog.tableRight), QStringList());
    QTest::mouseClick(dialog.AddButton, Qt::LeftButton);
    QCOMPARE(listed(dialog.tableRight),
             (QStringList { "P.   1 Maximum frequency", "P. 100 Input terminal X1 function",
                            "P. 101 Input terminal X2 function", "P.1250 User parameter" }));

    // The list is rebuilt from the ticks: an unticked parameter leaves it on the next Add.
    clickCheckBox(tree, findItem(tree, "P. 100 Input terminal X1 function"));
    QTest::mouseClick(dialog.AddButton, Qt::LeftButton);
    QCOMPARE(listed(dialog.tableRight).size(), 3);

    // Delete takes the selected row out and unticks its parameter.
    dialog.tableRight->setCurrentCell(8, 0);
    QTest::mouseClick(dialog.DeleteButton, Qt::LeftButton);
    QCOMPARE(listed(dialog.tableRight),
             (QStringList { "P.   1 Maximum frequency", "P. 101 Input terminal X2 function" }));
    QCOMPARE(findItem(tree, "P.1250 User parameter")->checkState(1), Qt::Unchecked);
    QCOMPARE(findItem(tree, "P.1200~P.1299")->checkState(1), Qt::Unchecked);

    QSignalSpy accepted(&dialog, &QDialog::accepted);
    QTest::mouseClick(dialog.OKButton, Qt::LeftButton);
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(g_selectedRows, (QList<int> { 1, 6 }));
}

void TestSelection::deleteTakesEverySelectedRow()
{
    CSelPar dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTreeWidget *tree = dialog.tableLeft;
    for (int g = 0; g < tree->topLevelItemCount(); ++g)
        clickCheckBox(tree, tree->topLevelItem(g));
    QTest::mouseClick(dialog.AddButton, Qt::LeftButton);
    QCOMPARE(listed(dialog.tableRight).size(), 8);
    // Selected from the bottom up, with the Control key as a user picks rows.
    QTableWidget *list = dialog.tableRight;
    for (int r : { 8, 5, 1 }) {
        const QRect rect = list->visualItemRect(list->item(r, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, r == 8 ? Qt::NoModifier : Qt::ControlModifier,
                          rect.center());
    }
    QCOMPARE(list->selectionModel()->selectedIndexes().size(), 3);
    QTest::mouseClick(dialog.DeleteButton, Qt::LeftButton);
    QCOMPARE(listed(list), (QStringList { "P.   0 Torque boost", "P.   2 Minimum frequency", "P.   5 Multi-speed 2",
                                          "P. 101 Input terminal X2 function", "P. 99X Clear and reset commands" }));
    QCOMPARE(states(tree), QString("~X.XX~.XXX.."));
}

void TestSelection::cancelKeepsTheEarlierChoice()
{
    CSelPar dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    clickCheckBox(dialog.tableLeft, dialog.tableLeft->topLevelItem(0));
    QTest::mouseClick(dialog.AddButton, Qt::LeftButton);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    QTest::mouseClick(dialog.CancleButton, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(g_selectedRows, (QList<int> { 99 }));
}

void TestSelection::displayModeShowsTheChoiceAndShowAllUndoesIt()
{
    CParameter &form = m_main->form();
    QTableWidget *table = m_main->table();
    g_parameterCount = table->rowCount();
    g_groupMode = 1;
    auto visible = [table]() {
        QList<int> rows;
        for (int r = 0; r < table->rowCount(); ++r) {
            if (!table->isRowHidden(r))
                rows << r;
        }
        return rows;
    };
    // The dialog offers the rows whose name is defined, whatever was hidden before.
    QStringList offered;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<CSelPar *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        offered = treeOutline(dialog->tableLeft);
        dialog->tableLeft->expandAll();
        clickCheckBox(dialog->tableLeft, findItem(dialog->tableLeft, "P.   6 Multi-speed 3"));
        clickCheckBox(dialog->tableLeft, findItem(dialog->tableLeft, "P. 100 Input terminal X1 function"));
        QTest::mouseClick(dialog->AddButton, Qt::LeftButton);
        QTest::mouseClick(dialog->OKButton, Qt::LeftButton);
    });
    QVERIFY(chooseComboItem(form.selectParaCombo, 1));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(offered.size(), 4);
    QVERIFY(offered.at(0).contains("P.   6 Multi-speed 3"));
    QCOMPARE(g_selectedRows, (QList<int> { 4, 5 }));
    QCOMPARE(visible(), (QList<int> { 4, 5 }));

    // "Show All Parameter" shows every row again.
    QVERIFY(chooseComboItem(form.selectParaCombo, 2));
    QCOMPARE(visible().size(), table->rowCount());

    // A cancelled choice leaves the list empty until another mode is chosen.
    onNextModal([](QWidget *modal) { modal->close(); });
    QVERIFY(chooseComboItem(form.selectParaCombo, 1));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(visible(), QList<int>());
    QCOMPARE(g_selectedRows, (QList<int> { 4, 5 }));
    QVERIFY(chooseComboItem(form.selectParaCombo, 0));
    QCOMPARE(visible().size(), table->rowCount());
}

QTEST_MAIN(TestSelection)
#include "tst_selection.moc"
