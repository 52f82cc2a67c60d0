// The parameter help window: which file a drive type reads, what the popup shows, and for which parameters.

#include "parameter/parameter.h"
#include "parameter/parinformation.h"
#include "seriesfixture.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTest>
#include <QToolButton>

namespace {

void clickCell(QTableWidget *table, int row, int column)
{
    table->scrollToItem(table->item(row, column));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(row, column)).center());
}

QStringList popupLines(ParInformation *help)
{
    QStringList lines;
    for (int r = 0; r < help->model->rowCount(); ++r)
        lines << (help->model->item(r, 1) ? help->model->item(r, 1)->text() : QString());
    return lines;
}

const QStringList AccelerationEn = { "Time to accelerate from 0 Hz to the acceleration/deceleration reference frequency.",
                                     "The unit follows the acceleration/deceleration time unit." };
const QStringList AccelerationCn = { "从0Hz加速到加减速基准频率所需的时间。", "单位由加减速时间单位决定。" };
const QStringList AccelerationTw = { "從0Hz加速到加減速基準頻率所需的時間。", "單位由加減速時間單位決定。" };

} // namespace

class TestParInformation : public QObject {
    Q_OBJECT
private slots:
    void formOfTheWindow();
    void textsOfADriveType_data();
    void textsOfADriveType();
    void popupInEachLanguage_data();
    void popupInEachLanguage();
    void noPopupWithoutHelp_data();
    void noPopupWithoutHelp();
    void rowHeightsFollowLineLength_data();
    void rowHeightsFollowLineLength();
};

void TestParInformation::formOfTheWindow()
{
    ParInformation help;
    QCOMPARE(help.objectName(), QString("PInf"));
    QCOMPARE(help.windowTitle(), QString("Describe"));
    QVERIFY(help.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(help.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(help.minimumSize(), QSize(445, 220));
    QCOMPARE(help.maximumSize(), QSize(445, 220));
    QCOMPARE(help.SysTableView->geometry(), QRect(0, 0, 445, 220));
    QCOMPARE(help.model->headerData(0, Qt::Horizontal).toString(), QString("NO"));
    QCOMPARE(help.model->headerData(1, Qt::Horizontal).toString(), QString("Note"));
    QCOMPARE(help.model->headerData(2, Qt::Horizontal).toString(), QString());
    QCOMPARE(help.SysTableView->columnWidth(0), 45);
    QCOMPARE(help.SysTableView->columnWidth(1), 365);
    QCOMPARE(help.SysTableView->columnWidth(2), 30);
    QCOMPARE(help.SysTableView->horizontalHeader()->sectionResizeMode(1), QHeaderView::Fixed);
    QVERIFY(!help.SysTableView->verticalHeader()->isVisible());
    QCOMPARE(help.SysTableView->verticalHeader()->defaultSectionSize(), 35);
    QCOMPARE(help.SysTableView->palette().color(QPalette::Active, QPalette::Base), QColor(255, 255, 246));
    QCOMPARE(help.SysTableView->palette().color(QPalette::Inactive, QPalette::AlternateBase), QColor(255, 254, 210));
    QCOMPARE(help.SysTableView->palette().color(QPalette::Disabled, QPalette::Base), QColor(236, 233, 216));

    // Without help: the label and the message; the close button hides the window.
    help.fillTable(1100);
    QCOMPARE(help.model->item(0, 0)->text(), QString("P.1100"));
    QCOMPARE(help.model->item(0, 1)->text(), QString("No detail describe!"));
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QVERIFY(help.closeButton);
    QCOMPARE(help.closeButton->size(), QSize(20, 20));
    QTest::mouseClick(help.closeButton, Qt::LeftButton);
    QVERIFY(!help.isVisible());
}

void TestParInformation::textsOfADriveType_data()
{
    QTest::addColumn<char>("letter");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    const QString accel = AccelerationEn.join(';');
    QTest::newRow("A English") << 'A' << "0" << "1.10" << 0 << 7 << accel;
    QTest::newRow("A simplified") << 'A' << "0" << "1.10" << 1 << 7 << AccelerationCn.join(';');
    QTest::newRow("A traditional") << 'A' << "0" << "1.10" << 2 << 7 << AccelerationTw.join(';');
    QTest::newRow("A at its lowest version") << 'A' << "0" << "0.2" << 0 << 7 << accel;
    QTest::newRow("A below its lowest version") << 'A' << "0" << "0.19" << 0 << 7 << QString();
    QTest::newRow("A model 1 has its own file")
        << 'A' << "1" << "1.10" << 0 << 700
        << "0: off;1: tension control by speed;2: tension control by torque;3: constant line speed";
    QTest::newRow("A series file lacks the model's parameters") << 'A' << "0" << "1.10" << 0 << 700 << QString();
    QTest::newRow("A shared line for the skip bands")
        << 'A' << "0" << "1.10" << 0 << 35
        << "Skip frequencies: the drive passes through the band without staying in it.;"
           "Set lower and upper limit of each band.";
    QTest::newRow("A user parameters have none") << 'A' << "0" << "1.10" << 0 << 1100 << QString();
    QTest::newRow("D traditional") << 'D' << "0" << "1.02" << 2 << 10 << "減速時低於該頻率開始直流制動。";
    QTest::newRow("D below its lowest version") << 'D' << "0" << "0.14" << 1 << 10 << QString();
    // The series' help is never loaded, and none ships.
    QTest::newRow("S never") << 'S' << "0" << "0.25" << 0 << 0 << QString();
    QTest::newRow("no file for the language") << 'A' << "0" << "1.10" << 3 << 7 << QString();
}

void TestParInformation::textsOfADriveType()
{
    QFETCH(char, letter);
    QFETCH(QString, model);
    QFETCH(QString, firmware);
    QFETCH(int, language);
    QFETCH(int, number);
    QFETCH(QString, text);
    SeriesSetup setup = seriesSetup(letter);
    setup.firmware = firmware;
    applySeries(setup, model, language);
    ParInformation help;
    help.detailTexts[number] = "stale";
    help.loadParameterDetails();
    QCOMPARE(help.detailText(number), text);
    QCOMPARE(help.detailTexts.size(), 1299);
    QCOMPARE(help.detailText(1299), QString());
}

void TestParInformation::popupInEachLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("English") << 0 << AccelerationEn;
    QTest::newRow("Simplified Chinese") << 1 << AccelerationCn;
    QTest::newRow("Traditional Chinese") << 2 << AccelerationTw;
}

void TestParInformation::popupInEachLanguage()
{
    QFETCH(int, language);
    QFETCH(QStringList, lines);
    applySeries(seriesSetup('A'), "0", language);
    CParameter form;
    QVERIFY(showLoadedForm(form));
    QTableWidget *table = form.PartableWidget;
    QVERIFY(table->item(7, 0)->font().underline());
    clickCell(table, 7, 0);
    QVERIFY(form.parInformation->isVisible());
    QCOMPARE(form.parInformation->model->item(0, 0)->text(), QString("P.7"));
    QCOMPARE(popupLines(form.parInformation), lines);
    // As drawn in its column the first line breaks between words or after the slash, never inside a word.
    QTableView *view = form.parInformation->SysTableView;
    const QStringList drawn = helpLines(lines.first(), view->font(), view->columnWidth(1));
    QCOMPARE(drawn.join(QString()), lines.first());
    QVERIFY(language != 0 || (drawn.size() == 2 && !drawn.first().back().isLetter()));

    // Another parameter replaces the lines; a text without ";" is one line.
    clickCell(table, 10, 0);
    QCOMPARE(form.parInformation->model->rowCount(), 1);
    QCOMPARE(form.parInformation->model->item(0, 0)->text(), QString("P.10"));
    QVERIFY(!form.parInformation->model->item(0, 1)->text().isEmpty());
    form.parInformation->hide();
}

void TestParInformation::noPopupWithoutHelp_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("user parameter") << 1100 << 0;
    QTest::newRow("at 1299") << 1299 << 0;
    QTest::newRow("beyond 1299") << 1400 << 0;
    QTest::newRow("a parameter with help, other column") << 7 << 1;
}

void TestParInformation::noPopupWithoutHelp()
{
    QFETCH(int, row);
    QFETCH(int, column);
    applySeries(seriesSetup('A'));
    CParameter form;
    QVERIFY(showLoadedForm(form));
    QTableWidget *table = form.PartableWidget;
    table->showRow(row);
    QVERIFY(!table->item(row, 0)->font().underline() || column != 0);
    clickCell(table, 0, 0);
    QVERIFY(form.parInformation->isVisible());
    clickCell(table, row, column);
    QVERIFY(!form.parInformation->isVisible());
}

void TestParInformation::rowHeightsFollowLineLength_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("height");
    QTest::newRow("en 54") << 0 << 54 << 20;
    QTest::newRow("en 55") << 0 << 55 << 40;
    QTest::newRow("en 110") << 0 << 110 << 60;
    QTest::newRow("en 219") << 0 << 219 << 80;
    QTest::newRow("en 220") << 0 << 220 << 100;
    QTest::newRow("cn 24") << 1 << 24 << 20;
    QTest::newRow("cn 25") << 1 << 25 << 30;
    QTest::newRow("tw 50") << 2 << 50 << 60;
    QTest::newRow("tw 90") << 2 << 90 << 80;
}

void TestParInformation::rowHeightsFollowLineLength()
{
    QFETCH(int, language);
    QFETCH(int, length);
    QFETCH(int, height);
    g_language = static_cast<unsigned char>(language);
    ParInformation help;
    // An empty line between two others keeps its own row.
    help.detailTexts[12] = "first;;" + QString(length, QLatin1Char('x'));
    help.fillTable(12);
    QCOMPARE(popupLines(&help), (QStringList { "first", "", QString(length, QLatin1Char('x')) }));
    QCOMPARE(help.SysTableView->rowHeight(1), 20);
    QCOMPARE(help.SysTableView->rowHeight(2), height);
}

QTEST_MAIN(TestParInformation)
#include "tst_parinformation.moc"
