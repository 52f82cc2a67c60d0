// The parameter form driven as a user drives it: display modes, header sorting, clearing, Delete, help.

#include "parameter/parameter.h"
#include "parameter/paramtext.h"
#include "parameter/parinformation.h"
#include "userinput.h"
#include "seriesfixture.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTest>

using namespace ParamText;

namespace {

void clickHeader(QTableWidget *table, int column)
{
    QHeaderView *header = table->horizontalHeader();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

void clickCell(QTableWidget *table, int row, int column)
{
    table->scrollToItem(table->item(row, column));
    const QRect rect = table->visualItemRect(table->item(row, column));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
}

int rowOf(CParameter &form, int number)
{
    for (int r = 0; r < form.PartableWidget->rowCount(); ++r) {
        if (form.cellText(r, 1).contains("P.") && labelNumber(form.cellText(r, 1)) == number)
            return r;
    }
    return -1;
}

int visibleRows(QTableWidget *table)
{
    int shown = 0;
    for (int r = 0; r < table->rowCount(); ++r)
        shown += table->isRowHidden(r) ? 0 : 1;
    return shown;
}

} // namespace

class TestParameterForm : public QObject {
    Q_OBJECT
private slots:
    void beforeFirstLoad();
    void showsAndResizes();
    void displayModes_data();
    void displayModes();
    void headerSorting();
    void clearing_data();
    void clearing();
    void deleteKeyClearsSettingsOnly();
    void helpUnderlineAndPopup();
    void languageChangeKeepsDisplayMode();
};

void TestParameterForm::beforeFirstLoad()
{
    CParameter form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.PartableWidget->rowCount(), 230);
    clickHeader(form.PartableWidget, 1);
    QCOMPARE(g_sortFlag, (unsigned char)1);
    QTest::mouseClick(form.ClearCurParPB, Qt::LeftButton);
    form.PartableWidget->setCurrentCell(3, 0);
    form.ShowTooltip(form.PartableWidget->model()->index(3, 0));
    QVERIFY(!form.parInformation->isVisible());
    QCOMPARE(form.cellText(0, 1), QString());
    QCOMPARE(form.cellText(5000, 1), QString());
}

void TestParameterForm::showsAndResizes()
{
    CParameter form;
    form.resize(910, 691);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.isVisible());
    form.resize(1300, 900);
    QTRY_COMPARE(form.size(), QSize(1300, 900));
    QVERIFY(form.PartableWidget->width() > 1200);
    QTest::mouseClick(form.ParClose, Qt::LeftButton);
    QVERIFY(!form.isVisible());
}

void TestParameterForm::displayModes_data()
{
    QTest::addColumn<char>("letter");
    QTest::newRow("group numbered A") << 'A';
    QTest::newRow("plain D") << 'D';
}

void TestParameterForm::displayModes()
{
    QFETCH(char, letter);
    applySeries(seriesSetup(letter));
    CParameter form;
    form.show();
    form.loadParameterTable();
    QTableWidget *table = form.PartableWidget;
    const int listed = visibleRows(table);
    QCOMPARE(form.selectParaCombo->currentIndex(), 0);

    // "Show All Parameter": the undefined rows below the count come into view, sorted by number. On the
    // way the combo passes "Show Selected Parameter", whose selection dialog is closed unchanged.
    onNextModal([](QWidget *dialog) { dialog->close(); });
    QTest::keyClick(form.selectParaCombo, Qt::Key_Down);
    QTest::keyClick(form.selectParaCombo, Qt::Key_Down);
    QCOMPARE(form.selectParaCombo->currentIndex(), 2);
    QCOMPARE(visibleRows(table), g_parameterCount);
    // The row header holds 1600, the last row's number, even in the current row's bold.
    QFont bold = table->verticalHeader()->font();
    bold.setBold(true);
    const int margins = 2 * table->style()->pixelMetric(QStyle::PM_HeaderMargin);
    QTRY_VERIFY(table->verticalHeader()->width() >= QFontMetrics(bold).horizontalAdvance("1600") + margins);
    QCOMPARE(g_sortFlag, (unsigned char)1);
    QVERIFY(!table->isRowHidden(rowOf(form, 185)));
    QCOMPARE(form.cellText(rowOf(form, 185), 3), QString("--"));

    // "Show Selected Parameter": every parameter row hidden until rows are chosen.
    onNextModal([](QWidget *dialog) { dialog->close(); });
    QTest::keyClick(form.selectParaCombo, Qt::Key_Up);
    QCOMPARE(visibleRows(table), 0);
    g_selectedRows = { rowOf(form, 1), rowOf(form, 7) };
    form.tableHide();
    QCOMPARE(visibleRows(table), 2);

    // "Show List Parameter": back to the defined rows.
    QTest::keyClick(form.selectParaCombo, Qt::Key_Up);
    QCOMPARE(form.selectParaCombo->currentIndex(), 0);
    QCOMPARE(visibleRows(table), listed);
    QVERIFY(table->isRowHidden(rowOf(form, 185)));
}

void TestParameterForm::headerSorting()
{
    applySeries(seriesSetup('A'));
    CParameter form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.loadParameterTable();
    QTableWidget *table = form.PartableWidget;

    clickHeader(table, 0);
    QCOMPARE(g_sortFlag, (unsigned char)0);
    QCOMPARE(form.cellText(rowOf(form, 1), 0), QString("01-00"));
    QVERIFY(rowOf(form, 1) > rowOf(form, 999)); // "00-02" before "01-00"
    for (int r = 1; r < table->rowCount(); ++r)
        QVERIFY(form.cellText(r - 1, 0) <= form.cellText(r, 0));
    const bool hidden1599 = table->isRowHidden(rowOf(form, 1599));
    QVERIFY(hidden1599);

    clickHeader(table, 1);
    QCOMPARE(g_sortFlag, (unsigned char)1);
    for (int r = 0; r < table->rowCount(); ++r)
        QCOMPARE(labelNumber(form.cellText(r, 1)), r);
    QCOMPARE(form.cellText(999, 1), QString("P. 99X"));
    QVERIFY(table->isRowHidden(1599)); // hidden rows travel with their parameters
    QVERIFY(!table->isRowHidden(1));
}

void TestParameterForm::clearing_data()
{
    QTest::addColumn<int>("column");
    QTest::newRow("current values") << 9;
    QTest::newRow("setting values") << 10;
}

void TestParameterForm::clearing()
{
    QFETCH(int, column);
    applySeries(seriesSetup('A'));
    CParameter form;
    form.show();
    form.loadParameterTable();
    QTableWidget *table = form.PartableWidget;
    QFont bold = table->font();
    bold.setBold(true);
    for (int r : { 0, 1, 1100 }) {
        table->item(r, 9)->setText("12.00");
        table->item(r, 10)->setText("13.00");
        for (int c = 0; c <= 11; ++c) {
            table->item(r, c)->setFont(bold);
            table->item(r, c)->setForeground(Qt::red);
        }
    }
    QTest::mouseClick(column == 9 ? form.ClearCurParPB : form.ClearSetValPB, Qt::LeftButton);
    const int other = column == 9 ? 10 : 9;
    for (int r : { 0, 1, 1100 }) {
        QCOMPARE(form.cellText(r, column), QString());
        QVERIFY(!form.cellText(r, other).isEmpty());
        QVERIFY(!table->item(r, 3)->font().bold());
        QCOMPARE(table->item(r, 3)->foreground().color(), QColor(Qt::black));
        QVERIFY(table->item(r, 11)->font().bold()); // the comment keeps its look
    }
    QVERIFY(table->item(0, 0)->font().underline()); // P.0 has help
    QVERIFY(!table->item(1100, 0)->font().underline()); // user parameters have none

    // A row without a label ends the walk.
    table->item(5, 9)->setText("1");
    table->item(5, 10)->setText("1");
    table->item(3, 1)->setText(QString());
    QTest::mouseClick(column == 9 ? form.ClearCurParPB : form.ClearSetValPB, Qt::LeftButton);
    QCOMPARE(form.cellText(5, column), QString("1"));
}

void TestParameterForm::deleteKeyClearsSettingsOnly()
{
    applySeries(seriesSetup('D'));
    CParameter form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.loadParameterTable();
    QTableWidget *table = form.PartableWidget;
    for (int r = 1; r <= 2; ++r) {
        table->item(r, 9)->setText("5");
        table->item(r, 10)->setText("6");
    }
    table->setRangeSelected(QTableWidgetSelectionRange(1, 9, 2, 11), true);
    QTest::keyClick(&form, Qt::Key_Delete);
    for (int r = 1; r <= 2; ++r) {
        QCOMPARE(form.cellText(r, 9), QString("5"));
        QCOMPARE(form.cellText(r, 10), QString());
        QVERIFY(!form.cellText(r, 11).isEmpty());
    }
}

void TestParameterForm::helpUnderlineAndPopup()
{
    applySeries(seriesSetup('A'));
    CParameter form;
    QVERIFY(showLoadedForm(form));
    QTableWidget *table = form.PartableWidget;
    QVERIFY(table->item(0, 0)->font().underline());
    QVERIFY(table->item(31, 0)->font().underline()); // a help line shared by a list of numbers
    QVERIFY(!table->item(1100, 0)->font().underline());
    QVERIFY(!table->item(1299, 0)->font().underline());
    QVERIFY(!table->item(1400, 0)->font().underline());

    clickCell(table, 7, 0);
    QVERIFY(form.parInformation->isVisible());
    QCOMPARE(form.parInformation->model->item(0, 0)->text(), QString("P.7"));
    QCOMPARE(form.parInformation->model->item(1, 1)->text(),
             QString("The unit follows the acceleration/deceleration time unit."));

    clickCell(table, 7, 3);
    QVERIFY(!form.parInformation->isVisible());
    clickCell(table, 0, 0);
    QVERIFY(form.parInformation->isVisible());
    clickCell(table, 1100, 0);
    QVERIFY(!form.parInformation->isVisible());

    // Parameter numbers from 1299 on have no help, even when a file names them.
    form.parInformation->detailTexts[1298] = "last;line";
    QCOMPARE(form.parInformation->detailText(1299), QString());
}

void TestParameterForm::languageChangeKeepsDisplayMode()
{
    CParameter form;
    form.selectParaCombo->setCurrentIndex(2);
    form.VerifyParameter->setCurrentIndex(2);
    form.languageChange();
    QCOMPARE(form.selectParaCombo->currentIndex(), 2);
    QCOMPARE(form.VerifyParameter->currentIndex(), 0);
    QCOMPARE(form.VerifyParameter->count(), 3);
    QCOMPARE(form.VerifyParameter->itemText(0), QString("Default VS Current"));
    QCOMPARE(form.PartableWidget->horizontalHeaderItem(1)->text(), QString("Trad. P mode"));
}

QTEST_MAIN(TestParameterForm)
#include "tst_parameterform.moc"
