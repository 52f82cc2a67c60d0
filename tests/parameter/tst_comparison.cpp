// The comparison dialog: which rows each pairing lists, what it shows, and how the form opens it.

#include "comm/globals.h"
#include "parameter/comparison.h"
#include "paramtable.h"
#include "userinput.h"

#include <QTest>

namespace {

using Row = QMap<int, QString>;

// group, label, name, default, current, setting, comment
Row row(const QString &group, const QString &label, const QString &name, const QString &def, const QString &cur,
        const QString &set, const QString &comment)
{
    return { { 0, group }, { 1, label }, { 3, name }, { 8, def }, { 9, cur }, { 10, set }, { 11, comment } };
}

const QList<Row> &knownRows()
{
    static const QList<Row> rows = {
        row("00-00", "P.   0", "Torque boost", "6.0", "6.0", "6.0", "Writable"),
        row("01-00", "P.   1", "Maximum frequency", "120.00", "", "", "Writable"),
        row("01-01", "P.   3", "Base frequency", "50Hz", "50.00", "50.0", "Writable"),
        row("02-00", "P.   7", "Acceleration time", "5.00", "10.00", "5.00", "Writable"),
        row("00-01", "P.  90", "Drive type code", "0", "3", "4", "Read-Only"),
        row("09-00", "P. 160", "Input phase loss protection", "1", "0", "0", "Writable"), // hidden below
        row("--", "P. 180", "--", "--", "0", "1", "--"),
        row("09-01", "P. 161", "Output phase loss protection", "0", "", "0", "Writable"),
        row("04-00", "P.  80", "Motor rated power", "0.75kW", "0.750", "", "Writable"),
        row("01-02", "P.   4", "High speed", "60.00", "?", "60.00", "Writable"), // not read: its unit unknown
    };
    return rows;
}

QStringList listedLabels(const CompareResult &dialog)
{
    QStringList labels;
    for (int r = 0; r < dialog.CompareWidget->rowCount(); ++r)
        labels << dialog.CompareWidget->item(r, 1)->text();
    return labels;
}

} // namespace

class TestComparison : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindowForm> m_main;
    CParameter *m_form = nullptr;

    void setKnownRows()
    {
        m_main->setRows(knownRows());
    }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void formOfTheDialog();
    void listsRowsOfTheMode_data();
    void listsRowsOfTheMode();
    void listedRowCopiesTheTable();
    void groupColumnFollowsNumbering();
    void unknownModeListsNothing();
    void comboShowsTheComparison();
    void callersChooseTheMode();
    void languageChangeRestoresTitle();
};

void TestComparison::initTestCase()
{
    m_main.reset(new MainWindowForm);
    m_form = &m_main->form();
}

void TestComparison::cleanupTestCase()
{
    m_main.reset();
}

void TestComparison::init()
{
    setKnownRows();
    m_main->table()->hideRow(5);
    m_form->compareResult->hide();
    g_groupMode = 1;
}

void TestComparison::formOfTheDialog()
{
    CompareResult dialog;
    QCOMPARE(dialog.objectName(), QString("Compare"));
    QCOMPARE(dialog.windowTitle(), QString("Dialog"));
    QCOMPARE(dialog.minimumSize(), QSize(650, 450));
    QCOMPARE(dialog.maximumSize(), QSize(650, 450));
    QCOMPARE(dialog.CompareWidget->geometry(), QRect(0, 0, 650, 450));
    QCOMPARE(dialog.CompareWidget->rowCount(), 0);
    const QStringList headers = { "Group mode", "Trad. P mode", "Name", "Default value", "Current value",
                                  "Setting value" };
    QCOMPARE(dialog.CompareWidget->columnCount(), headers.size());
    for (int c = 0; c < headers.size(); ++c)
        QCOMPARE(dialog.CompareWidget->horizontalHeaderItem(c)->text(), headers.at(c));
}

void TestComparison::listsRowsOfTheMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("currentShown");
    QTest::addColumn<bool>("settingShown");
    QTest::addColumn<QStringList>("labels");
    // Numbers compare after the unit is taken off the default; an empty value and an undefined default list.
    QTest::newRow("default vs current") << 0 << "Default VS Current" << true << false
                                        << QStringList { "P.   1", "P.   7", "P.  90", "P. 180", "P. 161" };
    // A read-only row lists here; an empty setting lists.
    QTest::newRow("default vs setting") << 1 << "Default VS Setting" << false << true
                                        << QStringList { "P.   1", "P.  90", "P. 180", "P.  80" };
    // Texts compare exactly; empty settings and read-only rows never list.
    QTest::newRow("current vs setting") << 2 << "Current VS Setting" << true << true
                                        << QStringList { "P.   3", "P.   7", "P. 180", "P. 161" };
}

void TestComparison::listsRowsOfTheMode()
{
    QFETCH(int, mode);
    QFETCH(QString, title);
    QFETCH(bool, currentShown);
    QFETCH(bool, settingShown);
    QFETCH(QStringList, labels);

    CompareResult dialog;
    dialog.compare(mode);
    QCOMPARE(dialog.windowTitle(), title);
    QCOMPARE(listedLabels(dialog), labels);
    QCOMPARE(!dialog.CompareWidget->isColumnHidden(4), currentShown);
    QCOMPARE(!dialog.CompareWidget->isColumnHidden(5), settingShown);
    for (int c = 1; c <= 3; ++c)
        QVERIFY(!dialog.CompareWidget->isColumnHidden(c));
    QVERIFY(dialog.CompareWidget->isEnabled());

    // The hidden row differs in every pairing; shown, it joins the list where its values differ.
    m_form->PartableWidget->showRow(5);
    dialog.compare(mode);
    QCOMPARE(listedLabels(dialog).contains("P. 160"), mode == 0 || mode == 1);
}

void TestComparison::listedRowCopiesTheTable()
{
    CompareResult dialog;
    dialog.compare(2);
    QCOMPARE(dialog.CompareWidget->rowCount(), 4);
    const QStringList expected = { "01-01", "P.   3", "Base frequency", "50Hz", "50.00", "50.0" };
    for (int c = 0; c < 6; ++c) {
        QTableWidgetItem *item = dialog.CompareWidget->item(0, c);
        QCOMPARE(item->text(), expected.at(c));
        QCOMPARE(item->flags(), Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    // Refilled in place, not appended to.
    dialog.compare(2);
    QCOMPARE(dialog.CompareWidget->rowCount(), 4);
}

void TestComparison::groupColumnFollowsNumbering()
{
    CompareResult dialog;
    g_groupMode = 0;
    dialog.compare(0);
    QVERIFY(dialog.CompareWidget->isColumnHidden(0));
    g_groupMode = 1;
    dialog.compare(0);
    QVERIFY(!dialog.CompareWidget->isColumnHidden(0));
}

void TestComparison::unknownModeListsNothing()
{
    CompareResult dialog;
    dialog.compare(1);
    dialog.compare(3);
    QCOMPARE(dialog.windowTitle(), QString("Default VS Setting"));
    QVERIFY(dialog.CompareWidget->isColumnHidden(4));
    QCOMPARE(dialog.CompareWidget->rowCount(), 0);
}

void TestComparison::comboShowsTheComparison()
{
    QVERIFY(m_main->showForm());
    QVERIFY(!m_form->compareResult->isVisible());
    QVERIFY(chooseComboItem(m_form->VerifyParameter, 2));
    QTRY_VERIFY(m_form->compareResult->isVisible());
    QVERIFY(!m_form->compareResult->isModal());
    QCOMPARE(m_form->compareResult->windowTitle(), QString("Current VS Setting"));
    QCOMPARE(listedLabels(*m_form->compareResult), (QStringList { "P.   3", "P.   7", "P. 180", "P. 161" }));
    // A changed value shows on the next choice, in front of the window the user chose it in.
    m_form->PartableWidget->item(7, 10)->setText(QString());
    m_main->window()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), m_main->window());
    QVERIFY(chooseComboItem(m_form->VerifyParameter, 2));
    QCOMPARE(listedLabels(*m_form->compareResult), (QStringList { "P.   3", "P.   7", "P. 180" }));
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(m_form->compareResult));
    m_form->compareResult->hide();
}

void TestComparison::callersChooseTheMode()
{
    QList<Row> many; // a long list left scrolled to its end: the next one opens at its top
    for (int i = 0; i < 60; ++i)
        many << row("00-00", QString::number(i), "Name", "1", "", "", "Writable");
    m_main->setRows(many);
    m_form->showComparison(0);
    m_form->compareResult->CompareWidget->scrollToBottom();
    m_form->showComparison(1);
    QCoreApplication::processEvents();
    QCOMPARE(m_form->compareResult->CompareWidget->rowAt(0), 0);
    init();
    m_form->showComparison(1);
    QCOMPARE(m_form->VerifyParameter->currentIndex(), 1);
    QVERIFY(m_form->compareResult->isVisible());
    QCOMPARE(m_form->compareResult->windowTitle(), QString("Default VS Setting"));
    QCOMPARE(listedLabels(*m_form->compareResult), (QStringList { "P.   1", "P.  90", "P. 180", "P.  80" }));
    m_form->compareResult->hide();
}

void TestComparison::languageChangeRestoresTitle()
{
    m_form->compareResult->compare(0);
    m_form->languageChange();
    QCOMPARE(m_form->compareResult->windowTitle(), QString("Dialog"));
    QCOMPARE(m_form->compareResult->CompareWidget->horizontalHeaderItem(4)->text(), QString("Current value"));
}

QTEST_MAIN(TestComparison)
#include "tst_comparison.moc"
