// The search dialog driven as a user drives it: options, both directions, the ends of the hit list.

#include "parameter/search.h"
#include "paramtable.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

using Row = QMap<int, QString>;

// Column 2 is hidden, row 4 is hidden.
const QList<Row> &knownRows()
{
    static const QList<Row> rows = {
        { { 1, "P.   0" }, { 3, "Torque boost" }, { 11, "Frequency" } },
        { { 1, "P.   1" }, { 3, "Maximum frequency" } },
        { { 1, "P.   2" }, { 3, "Minimum frequency" }, { 11, "frequency" } },
        { { 1, "   P.3" }, { 3, "Base FREQUENCY" } },
        { { 1, "P.   4" }, { 3, "Skip frequency" } },
        { { 1, "P.   5" }, { 2, "frequency" }, { 3, "Frequency" } },
    };
    return rows;
}

} // namespace

class TestSearchDialog : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindowForm> m_main;

    // Presses a button and tells where the table's current cell is then ("r,c"), or "msg" for the
    // not-found box (answered with OK; the current cell must not move then).
    QString press(QPushButton *button)
    {
        QTableWidget *table = m_main->table();
        const QTableWidgetItem *before = table->currentItem();
        QString box;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&]() {
            if (auto *message = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                box = message->windowTitle() + "|" + message->text();
                message->button(QMessageBox::Ok)->click();
            }
        });
        watch.start(10);
        QTest::mouseClick(button, Qt::LeftButton);
        watch.stop();
        if (!box.isEmpty()) {
            if (box != "Search|Did not find the accordant characters" || table->currentItem() != before)
                return "bad box " + box;
            return "msg";
        }
        return QStringLiteral("%1,%2").arg(table->currentRow()).arg(table->currentColumn());
    }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void formOfTheDialog();
    void stepsThroughHits_data();
    void stepsThroughHits();
    void changedOptionRunsANewSearch();
    void emptyTextOnlyFocusesTheTable();
    void searchButtonOpensAFreshModalDialog();
};

void TestSearchDialog::initTestCase()
{
    m_main.reset(new MainWindowForm);
    m_main->showForm();
}

void TestSearchDialog::cleanupTestCase()
{
    m_main.reset();
}

void TestSearchDialog::init()
{
    m_main->setRows(knownRows());
    m_main->table()->hideColumn(2);
    m_main->table()->hideRow(4);
    m_main->table()->setCurrentCell(0, 0);
}

void TestSearchDialog::formOfTheDialog()
{
    CSearch dialog;
    QCOMPARE(dialog.objectName(), QString("SearchDialog"));
    QCOMPARE(dialog.windowTitle(), QString("Search"));
    // Never below its built size; wider where its layout and texts need it.
    QVERIFY2(dialog.width() >= 400 && dialog.height() >= 119, qPrintable(QStringLiteral("%1 x %2").arg(dialog.width()).arg(dialog.height())));
    QVERIFY(dialog.windowFlags() & Qt::WindowSystemMenuHint);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(dialog.SearchLabel->text(), QString("Character String:"));
    QCOMPARE(dialog.SearchLabel->font().pointSize(), 10);
    QCOMPARE(dialog.MatchCaseCheckBox->text(), QString("Match Case"));
    QCOMPARE(dialog.MatchExaCheckBox->text(), QString("Case sensitive"));
    QCOMPARE(dialog.UpSearchPB->text(), QString("Upward search"));
    QCOMPARE(dialog.DownSearchPB->text(), QString("Downward search"));
    QCOMPARE(dialog.SearchCancel->text(), QString("Cancel"));
    QVERIFY(!dialog.MatchCaseCheckBox->isChecked());
    QVERIFY(!dialog.MatchExaCheckBox->isChecked());
    QCOMPARE(dialog.searchTitle, QString("Search"));
    QCOMPARE(dialog.notFoundText, QString("Did not find the accordant characters"));
}

void TestSearchDialog::stepsThroughHits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wholeCell");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("presses"); // U upward, D downward
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("startRow");

    // Hits run column by column; the hidden column counts, the hidden row is stepped over.
    QTest::newRow("contains, any case, down to the end and back up")
        << "frequency" << false << false << "DDDDDDDDDUUUUUU"
        << QStringList { "5,2", "1,3", "2,3", "3,3", "5,3", "0,11", "2,11", "msg", "2,11",
                         "2,11", "0,11", "5,3", "3,3", "2,3", "1,3" } << 0;
    // Off the top: the box once, then the next press looks forward from the current row again.
    QTest::newRow("contains, any case, off the top starts again")
        << "frequency" << false << false << "DDUUD"
        << QStringList { "5,2", "1,3", "5,2", "msg", "msg" } << 0;
    QTest::newRow("upward first looks forward too") << "Frequency" << false << false << "UD"
                                                    << QStringList { "5,2", "1,3" } << 0;
    QTest::newRow("contains, same case") << "frequency" << false << true << "DDDDD"
                                         << QStringList { "5,2", "1,3", "2,3", "2,11", "msg" } << 0;
    QTest::newRow("contains, same case, capitals") << "FREQUENCY" << false << true << "DD"
                                                   << QStringList { "3,3", "msg" } << 0;
    // "Match Case" asks for the whole cell, and then letter case always counts.
    QTest::newRow("whole cell") << "frequency" << true << false << "UDD" << QStringList { "5,2", "2,11", "msg" } << 0;
    QTest::newRow("whole cell, other case") << "Frequency" << true << false << "DDD"
                                            << QStringList { "5,3", "0,11", "msg" } << 0;
    QTest::newRow("whole cell, same case") << "Frequency" << true << true << "DD"
                                           << QStringList { "5,3", "0,11" } << 0;
    QTest::newRow("whole cell refuses a longer text") << "maximum" << true << false << "DU"
                                                      << QStringList { "msg", "msg" } << 0;
    QTest::newRow("whole cell, a padded number") << "P.3" << true << false << "DD" << QStringList { "3,1", "msg" } << 0;
    QTest::newRow("whole cell refuses other capitals") << "base frequency" << true << false << "D"
                                                       << QStringList { "msg" } << 0;
    // A hit in the current row itself is passed over; with no current cell the first hit is taken.
    QTest::newRow("current row passed over") << "Torque" << false << false << "D" << QStringList { "msg" } << 0;
    QTest::newRow("no current cell") << "Torque" << false << false << "DD" << QStringList { "0,3", "msg" } << -1;
    QTest::newRow("no match") << "torque limit" << false << false << "DU" << QStringList { "msg", "msg" } << 0;
}

void TestSearchDialog::stepsThroughHits()
{
    QFETCH(QString, text);
    QFETCH(bool, wholeCell);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, presses);
    QFETCH(QStringList, steps);
    QFETCH(int, startRow);

    m_main->table()->setCurrentCell(startRow, startRow < 0 ? -1 : 0);
    CSearch dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(dialog.SearchlineEdit, text);
    if (wholeCell)
        QTest::mouseClick(dialog.MatchCaseCheckBox, Qt::LeftButton);
    if (caseSensitive)
        QTest::mouseClick(dialog.MatchExaCheckBox, Qt::LeftButton);
    QStringList seen;
    for (QChar p : presses)
        seen << press(p == 'U' ? dialog.UpSearchPB : dialog.DownSearchPB);
    QCOMPARE(seen, steps);
}

void TestSearchDialog::changedOptionRunsANewSearch()
{
    CSearch dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(dialog.SearchlineEdit, "frequency");
    QCOMPARE(press(dialog.DownSearchPB), QString("5,2"));
    QCOMPARE(press(dialog.DownSearchPB), QString("1,3"));
    // Ticked and unticked: same options, but the next press starts a new search from the current row.
    QTest::mouseClick(dialog.MatchExaCheckBox, Qt::LeftButton);
    QTest::mouseClick(dialog.MatchExaCheckBox, Qt::LeftButton);
    QCOMPARE(press(dialog.DownSearchPB), QString("5,2"));
    // An edited text does the same.
    QTest::keyClick(dialog.SearchlineEdit, Qt::Key_Backspace);
    m_main->table()->setCurrentCell(1, 0);
    QCOMPARE(press(dialog.DownSearchPB), QString("5,2"));
    QCOMPARE(press(dialog.DownSearchPB), QString("1,3"));
}

void TestSearchDialog::emptyTextOnlyFocusesTheTable()
{
    CSearch dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    m_main->form().openPB->setFocus();
    QCOMPARE(press(dialog.DownSearchPB), QString("0,0"));
    QCOMPARE(press(dialog.UpSearchPB), QString("0,0"));
    QCOMPARE(m_main->table()->window()->focusWidget(), m_main->table());
}

void TestSearchDialog::searchButtonOpensAFreshModalDialog()
{
    // Each opening starts empty: the text and hits of the one before are gone.
    QStringList seen;
    ModalWatcher watcher([&](QWidget *modal) {
        auto *dialog = qobject_cast<CSearch *>(modal);
        if (!dialog)
            return; // the not-found box, answered by press()
        seen << dialog->windowTitle() + "|" + dialog->SearchlineEdit->text() + "|"
                    + QString::number(dialog->hitCount) + "|" + QString::number(dialog->parentWidget() != nullptr)
                    + "|" + QString::number(dialog->isModal());
        QTest::keyClicks(dialog->SearchlineEdit, "Torque");
        // Nothing below the current row: the box says so and the cell stays.
        seen << press(dialog->DownSearchPB);
        QTest::mouseClick(dialog->SearchCancel, Qt::LeftButton);
    });
    for (int opening = 0; opening < 2; ++opening) {
        m_main->table()->setCurrentCell(5, 0);
        QTest::mouseClick(m_main->form().IndexPB, Qt::LeftButton);
    }
    QCOMPARE(seen, (QStringList { "Search||0|0|1", "msg", "Search||0|0|1", "msg" }));
}

QTEST_MAIN(TestSearchDialog)
#include "tst_searchdialog.moc"
