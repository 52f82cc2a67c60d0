// Parameter list files saved and opened from the parameter form as a user does it: the file dialogs are
// answered by typing a name, the warnings are read and confirmed. Text files are compared byte for byte
// with golden files; workbooks are read back by an independent reader (openpyxl).

#include "connection/comsetup.h"
#include "parameter/comparison.h"
#include "modalwatcher.h"
#include "parameter/parameter.h"
#include "parameter/paramtext.h"
#include "zip/workbook.h"
#include "pseudoterminal.h"
#include "seriesfixture.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"
#include "testfiles.h"

#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

#include <csignal>
#include <sys/resource.h>

namespace
{

using Rows = QVector<QStringList>;

const QStringList EnglishHeaders = { "Group mode", "Trad. P mode", "MODBUS", "Name", "Range", "Min", "Max", "Unit",
    "Default value", "Current value", "Setting value", "Comment" };

// Row 2 is hidden and row 4 has no parameter cell: neither is written.
Rows englishRows()
{
    return {
        { "00-00", "   P.0", "0000H", "Frequency command", "0-400", "0.00", "400.00", "0.01Hz", "50.00Hz", "60.00", "7",
            "RW" },
        { "00-01", "   P.1", "0001H", "Maximum frequency", "x", "123456789012345", "120.00", "0.01Hz", "120.00Hz",
            "120.00", "", "RW" },
        { "00-02", "   P.2", "0002H", "Hidden", "", "0", "1", "1", "0", "1", "", "RW" },
        { "00-03", "   P.3", "0003H", "Acceleration time", "", "0.0", "3600.0", "0.1s", "10.0s", "", "", "RW" },
        { "", "", "", "No parameter cell", "", "", "", "", "", "5", "", "" },
        { "--", "P. 99X", "----", "Command", "--", "--", "--", "--", "--", "0", "", "--" },
    };
}

Rows chineseRows()
{
    Rows rows = englishRows();
    rows[0][3] = QString::fromUtf8("频率指令");
    rows[1][3] = QString::fromUtf8("最高频率");
    rows[1][8] = QString::fromUtf8("无");
    rows[1][9] = "0";
    rows[3][3] = QString::fromUtf8("加速时间");
    rows[3][8] = "";
    rows[5][3] = QString::fromUtf8("命令");
    return rows;
}

QStringList chineseHeaders()
{
    return QString::fromUtf8("组模式,传统P,MODBUS,名称,范围,最小值,最大值,单位,出厂值,当前值,设定值,备注").split(',');
}

QJsonObject dumpWorkbook(const QString &path)
{
    QProcess process;
    process.start("/usr/bin/python3", { sourceDir() + "/tests/zip/data/dump.py", path });
    process.waitForFinished(30000);
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

// What the dialogs showed and what the user answered.
struct Session {
    QString typed; // typed into the file dialog; empty cancels it
    QString filter; // the file type chosen
    QString startFolder; // where the file dialog started
    QString offeredName; // the name it offered
    QString caption;
    QStringList messages; // texts of the message boxes, in order
    QStringList overWaiting = {}; // those shown while the status bar's "Waiting" bar was up
};

void answer(QWidget *modal, Session *s)
{
    if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        s->caption = dialog->windowTitle();
        s->startFolder = dialog->directory().absolutePath();
        auto *edit = dialog->findChild<QLineEdit *>("fileNameEdit");
        s->offeredName = edit ? edit->text() : QString();
        if (s->typed.isEmpty() || !edit) {
            dialog->reject();
            return;
        }
        if (!s->filter.isEmpty())
            dialog->selectNameFilter(s->filter);
        edit->setText(s->typed);
        // Pressed once the watcher has returned: the dialog may open a question of its own.
        QTimer::singleShot(0, edit, [edit] { QTest::keyClick(edit, Qt::Key_Return); });
    } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        s->messages << box->text();
        if (!g_mainWindow->progressBar->isHidden())
            s->overWaiting << box->text();
        // The dialog's own question about replacing a file is answered yes; warnings are confirmed.
        QAbstractButton *button
            = box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes) : box->button(QMessageBox::Ok);
        QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
    }
}

int rowOfNumber(CParameter *form, int number)
{
    for (int r = 0; r < form->PartableWidget->rowCount(); ++r) {
        const QString label = form->cellText(r, 1);
        if (label.contains("P.") && ParamText::labelNumber(label) == number)
            return r;
    }
    return -1;
}

struct RowState {
    QString setting;
    bool hidden;
    bool bold;
    QColor color;
    bool operator==(const RowState &o) const
    {
        return setting == o.setting && hidden == o.hidden && bold == o.bold && color == o.color;
    }
};

QVector<RowState> tableState(CParameter *form)
{
    QVector<RowState> state;
    QTableWidget *t = form->PartableWidget;
    for (int r = 0; r < t->rowCount(); ++r) {
        QTableWidgetItem *item = t->item(r, 3);
        state.append({ form->cellText(r, 10), t->isRowHidden(r), item && item->font().bold(),
            item ? item->foreground().color() : QColor() });
    }
    return state;
}

} // namespace

class TestParameterFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void savesNothingWithoutDriveType();
    void cancelledDialogsChangeNothing();
    void textFileMatchesGolden_data();
    void textFileMatchesGolden();
    void workbookReadByIndependentReader_data();
    void workbookReadByIndependentReader();
    void roundTrip_data();
    void roundTrip();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void fullDiskKeepsOldFile();
    void otherDriveTypeChangesNothing_data();
    void otherDriveTypeChangesNothing();
    void otherKindOfFileIsRefused();
    void damagedHeaderTakesDefaults_data();
    void damagedHeaderTakesDefaults();
    void misreadFieldsAreSkipped();
    void workbookFromIndependentWriter();

private:
    void fillSmallTable(const Rows &rows, const QStringList &headers);
    void loadSeries(char letter, int language);
    QString save(Session &s);
    void open(Session &s);

    QTemporaryDir m_home;
    QTemporaryDir m_appDir;
    QByteArray m_oldHome;
    ListedLine m_line;
    CMainWindow *m_window = nullptr;
    CParameter *m_form = nullptr;
    QString m_desktop;
};

void TestParameterFiles::initTestCase()
{
    m_oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(m_home.path()));
    m_desktop = m_home.path() + "/Desktop";
    QVERIFY(QDir().mkpath(m_desktop));
    initShellResources();
    const QString table = "/ParameterInforamtion/InvType/FNC.txt";
    QVERIFY(QDir().mkpath(m_appDir.path() + "/ParameterInforamtion/InvType"));
    QVERIFY(QFile::copy(binDir() + table, m_appDir.path() + table));
    QVERIFY(m_line.open());
    g_appDir = m_appDir.path() + '/';
    g_language = 0;
    m_window = new CMainWindow(nullptr);
    g_mainWindow = m_window;
    m_form = m_window->parameterForm;
    m_form->show();
}

void TestParameterFiles::cleanupTestCase()
{
    delete m_window;
    g_mainWindow = nullptr;
    m_line.close();
    qputenv("HOME", m_oldHome);
}

void TestParameterFiles::init()
{
    applySeries(seriesSetup('S'));
    m_window->typeValueLabel->setText(g_invType);
    m_window->comSetup->ProcomboBox->setCurrentIndex(0);
    for (const QString &name : QDir(m_desktop).entryList(QDir::Files | QDir::Hidden))
        QFile::remove(m_desktop + '/' + name);
}

void TestParameterFiles::fillSmallTable(const Rows &rows, const QStringList &headers)
{
    QTableWidget *t = m_form->PartableWidget;
    t->clearContents();
    t->setRowCount(rows.size());
    for (int c = 0; c < headers.size(); ++c)
        t->setHorizontalHeaderItem(c, new QTableWidgetItem(headers.at(c)));
    for (int r = 0; r < rows.size(); ++r) {
        t->showRow(r);
        for (int c = 0; c < rows.at(r).size(); ++c) {
            if (c == 1 && rows.at(r).at(c).isEmpty())
                continue;
            t->setItem(r, c, new QTableWidgetItem(rows.at(r).at(c)));
        }
    }
    t->hideRow(2);
}

void TestParameterFiles::loadSeries(char letter, int language)
{
    applySeries(seriesSetup(letter), "0", language);
    m_window->typeValueLabel->setText(g_invType);
    for (int c = 0; c < EnglishHeaders.size(); ++c)
        m_form->PartableWidget->setHorizontalHeaderItem(c, new QTableWidgetItem(EnglishHeaders.at(c)));
    m_form->loadParameterTable();
}

QString TestParameterFiles::save(Session &s)
{
    ModalWatcher watcher([&s](QWidget *modal) { answer(modal, &s); });
    QTest::mouseClick(m_form->savePB, Qt::LeftButton);
    return s.typed;
}

void TestParameterFiles::open(Session &s)
{
    ModalWatcher watcher([&s](QWidget *modal) { answer(modal, &s); });
    QTest::mouseClick(m_form->openPB, Qt::LeftButton);
}

void TestParameterFiles::savesNothingWithoutDriveType()
{
    g_invType.clear();
    Session s { m_desktop + "/list.txt", "", "", "", "", {} };
    save(s);
    QCOMPARE(s.messages, QStringList { "Nothing can be saved." });
    QVERIFY(s.caption.isEmpty());
    QVERIFY(QDir(m_desktop).entryList(QDir::Files).isEmpty());
}

void TestParameterFiles::cancelledDialogsChangeNothing()
{
    fillSmallTable(englishRows(), EnglishHeaders);
    const QVector<RowState> before = tableState(m_form);
    m_form->VerifyParameter->setCurrentIndex(0);
    Session s;
    save(s);
    QCOMPARE(s.caption, QString("Save File"));
    open(s);
    QCOMPARE(s.caption, QString("Open File"));
    QCOMPARE(s.startFolder, m_desktop);
    QVERIFY(s.messages.isEmpty());
    QVERIFY(tableState(m_form) == before);
    QCOMPARE(m_form->VerifyParameter->currentIndex(), 0);
    QVERIFY(!m_window->progressBar->isVisible());
}

void TestParameterFiles::textFileMatchesGolden_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("groupMode");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("display");
    QTest::addColumn<int>("sortFlag");
    QTest::addColumn<QString>("golden");
    QTest::newRow("English, plain numbering, character protocol") << 0 << 0 << 0 << 2 << 1 << "list_english.txt";
    QTest::newRow("Chinese, groups, Modbus") << 1 << 1 << 2 << 0 << 0 << "list_chinese.txt";
    QTest::newRow("Traditional Chinese, groups, Modbus") << 2 << 1 << 1 << 0 << 0 << "list_chinese.txt";
}

void TestParameterFiles::textFileMatchesGolden()
{
    QFETCH(int, language);
    QFETCH(int, groupMode);
    QFETCH(int, protocol);
    QFETCH(int, display);
    QFETCH(int, sortFlag);
    QFETCH(QString, golden);
    g_language = language;
    g_groupMode = groupMode;
    g_sortFlag = sortFlag;
    m_window->comSetup->ProcomboBox->setCurrentIndex(protocol);
    fillSmallTable(language ? chineseRows() : englishRows(), language ? chineseHeaders() : EnglishHeaders);
    m_form->selectParaCombo->setCurrentIndex(display);

    // The name typed without an ending takes the chosen filter's.
    Session s { "list", "TXT Files(*.txt)", "", "", "", {} };
    save(s);
    QCOMPARE(s.caption, QString("Save File"));
    QCOMPARE(s.startFolder, m_desktop);
    QCOMPARE(s.offeredName, QString("VS5-043-5.5K_7.5K"));
    QCOMPARE(s.messages, QStringList());
    const QByteArray expected = fileBytes(sourceDir() + "/tests/parameter/data/" + golden);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(fileBytes(m_desktop + "/list.txt"), expected);
    QVERIFY(!m_window->progressBar->isVisible());
    QVERIFY(!m_window->progressLabel->isVisible());
}

void TestParameterFiles::workbookReadByIndependentReader_data()
{
    QTest::addColumn<int>("groupMode");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QString>("lastColumn");
    QTest::addColumn<QString>("nameColumn");
    QTest::newRow("no groups, no Modbus") << 0 << 0
                                          << QStringList { "Trad. P mode", "Name", "Min", "Max", "Unit",
                                                 "Default value", "Current value", "Comment", "Comment 2" }
                                          << "I"
                                          << "B";
    QTest::newRow("no groups, Modbus") << 0 << 1
                                       << QStringList { "Trad. P mode", "MODBUS", "Name", "Min", "Max", "Unit",
                                              "Default value", "Current value", "Comment", "Comment 2" }
                                       << "J"
                                       << "C";
    QTest::newRow("groups, no Modbus") << 1 << 0
                                       << QStringList { "Group mode", "Trad. P mode", "Name", "Min", "Max", "Unit",
                                              "Default value", "Current value", "Comment", "Comment 2" }
                                       << "J"
                                       << "C";
    QTest::newRow("groups, Modbus") << 1 << 2
                                    << QStringList { "Group mode", "Trad. P mode", "MODBUS", "Name", "Min", "Max",
                                           "Unit", "Default value", "Current value", "Comment", "Comment 2" }
                                    << "K"
                                    << "D";
}

void TestParameterFiles::workbookReadByIndependentReader()
{
    QFETCH(int, groupMode);
    QFETCH(int, protocol);
    QFETCH(QStringList, header);
    QFETCH(QString, lastColumn);
    QFETCH(QString, nameColumn);
    g_groupMode = groupMode;
    g_sortFlag = 1;
    m_window->comSetup->ProcomboBox->setCurrentIndex(protocol);
    fillSmallTable(englishRows(), EnglishHeaders);
    m_form->selectParaCombo->setCurrentIndex(1);
    Session s { "list", "XLS Files(*.xlsx)", "", "", "", {} };
    save(s);
    QCOMPARE(s.messages.join("|"), QString());
    const QJsonObject d = dumpWorkbook(m_desktop + "/list.xlsx");
    QCOMPARE(d.value("sheets").toArray(), QJsonArray { "VS5-043-5.5K|7.5K" });
    QCOMPARE(d.value("filter").toString(), "A2:" + lastColumn + "2");
    const QJsonObject cells = d.value("cells").toObject();
    auto cell = [&](const QString &name) { return cells.value(name).toObject(); };
    QCOMPARE(cell("A1").value("value").toString(), QString("VS5-043-5.5K|7.5K"));
    QCOMPARE(cell("B1").value("value").toString(), QString("1"));
    QCOMPARE(cell("C1").value("value").toDouble(), 1.0);

    QStringList headerRow;
    for (int c = 0; c < header.size(); ++c) {
        const QString name = QString(QChar('A' + c)) + "2";
        headerRow << cell(name).value("value").toString();
        QCOMPARE(cell(name).value("fill").toString(), QString("FF6495ED"));
    }
    QCOMPARE(headerRow, header);
    QVERIFY(!cells.contains(QString(QChar('A' + header.size())) + "2"));
    const QJsonObject widths = d.value("widths").toObject();
    const QMap<QString, double> expectedWidths = { { "Name", 28 }, { "Min", 10 }, { "Max", 15 }, { "Unit", 15 },
        { "Default value", 15 }, { "Comment", 12 }, { "Comment 2", 12 } };
    for (int c = 0; c < header.size(); ++c) {
        const QString column(QChar('A' + c));
        if (expectedWidths.contains(header.at(c)))
            QCOMPARE(widths.value(column).toDouble() - 0.7109375, expectedWidths.value(header.at(c)));
        else
            QVERIFY2(!widths.contains(column), qPrintable(column));
    }

    // Written rows in order, without gaps: P.0, P.1, P.3, P.99X.
    const QStringList numbers = { "   P.0", "   P.1", "   P.3", "P. 99X" };
    const QStringList names = { "Frequency command", "Maximum frequency", "Acceleration time", "Command" };
    const QList<bool> modified = { true, false, true, true };
    const QString pColumn = groupMode ? "B" : "A";
    for (int i = 0; i < numbers.size(); ++i) {
        const QString row = QString::number(i + 3);
        QCOMPARE(cell(pColumn + row).value("value").toString(), numbers.at(i));
        QCOMPARE(cell(pColumn + row).value("type").toString(), QString("str"));
        QCOMPARE(cell(nameColumn + row).value("value").toString(), names.at(i));
        QCOMPARE(cell(lastColumn + row).value("value").toString(), modified.at(i) ? QString("Modified") : QString());
        for (char c = 'A'; c <= lastColumn.at(0).toLatin1(); ++c) {
            const QJsonObject x = cell(QString(QChar(c)) + row);
            QCOMPARE(x.value("bold").toBool(), modified.at(i));
            QCOMPARE(x.value("font").toString(), modified.at(i) ? QString("FFFF0000") : QString());
        }
    }
    QCOMPARE(cell(QString(QChar(lastColumn.at(0).toLatin1() - 2)) + "3").value("value").toString(), QString("60.00"));
    QVERIFY(cell(QString(QChar(lastColumn.at(0).toLatin1() - 2)) + "5").value("value").isNull());
    QVERIFY(!cells.contains("A7") && !cells.contains("B7"));
}

void TestParameterFiles::roundTrip_data()
{
    QTest::addColumn<char>("letter");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<QString>("typed"); // the ending comes from the filter when none is typed
    const QString text = "TXT Files(*.txt)";
    const QString book = "XLS Files(*.xlsx)";
    QTest::newRow("text, plain series D, English") << 'D' << 0 << 0 << text << 1 << "roundtrip";
    QTest::newRow("text, group series A, Modbus, sorted by group") << 'A' << 0 << 1 << text << 0 << "roundtrip";
    QTest::newRow("text, series S, Simplified Chinese, Modbus") << 'S' << 1 << 2 << text << 1 << "roundtrip";
    QTest::newRow("text, series A, Traditional Chinese") << 'A' << 2 << 0 << text << 1 << "roundtrip";
    QTest::newRow("text, ending in capitals") << 'D' << 0 << 0 << text << 1 << "List.TXT";
    QTest::newRow("workbook, plain series D, English") << 'D' << 0 << 0 << book << 1 << "roundtrip";
    QTest::newRow("workbook, group series A, Modbus, sorted by group") << 'A' << 0 << 1 << book << 0 << "roundtrip";
    QTest::newRow("workbook, series D, Simplified Chinese, Modbus") << 'D' << 1 << 2 << book << 1 << "roundtrip";
    QTest::newRow("workbook, group series A, Traditional Chinese") << 'A' << 2 << 0 << book << 1 << "roundtrip";
    QTest::newRow("workbook, ending in capitals") << 'A' << 0 << 0 << book << 0 << "List.XLSX";
}

void TestParameterFiles::roundTrip()
{
    QFETCH(char, letter);
    QFETCH(int, language);
    QFETCH(int, protocol);
    QFETCH(QString, filter);
    QFETCH(int, sortColumn);
    QFETCH(QString, typed);
    loadSeries(letter, language);
    m_window->comSetup->ProcomboBox->setCurrentIndex(protocol);
    QTableWidget *t = m_form->PartableWidget;
    m_form->mySort(sortColumn);

    // Current values of every kind: equal to the default, different, negative, empty.
    QMap<int, QString> saved;
    int k = 0;
    for (int r = 0; r < t->rowCount(); ++r) {
        if (t->isRowHidden(r) || !t->item(r, 1))
            continue;
        const QString def = m_form->stripUnit(m_form->cellText(r, 8));
        const QStringList choices = { def, QString::number(k * 1.25, 'f', 2), "", "-" + QString::number(k), "0" };
        const QString value = choices.at(k % choices.size());
        t->item(r, 9)->setText(value);
        t->item(r, 10)->setText("stale");
        saved.insert(ParamText::labelNumber(m_form->cellText(r, 1)), value);
        ++k;
    }
    QVERIFY(saved.size() > 100);

    Session s { typed, filter, "", "", "", {} };
    save(s);
    QCOMPARE(s.messages, QStringList());
    m_form->mySort(1 - sortColumn);
    m_form->ClearSettingVal();
    s.typed = m_desktop + '/' + (typed.contains('.') ? typed : typed + (filter.startsWith("TXT") ? ".txt" : ".xlsx"));
    open(s);
    QCOMPARE(s.messages, QStringList());

    int checked = 0;
    for (auto it = saved.constBegin(); it != saved.constEnd(); ++it) {
        const int r = rowOfNumber(m_form, it.key());
        QVERIFY(r >= 0);
        QCOMPARE(m_form->cellText(r, 10), it.value());
        QVERIFY(!t->isRowHidden(r));
        const QString def = m_form->stripUnit(m_form->cellText(r, 8));
        const bool differs = !it.value().isEmpty() && (it.value().toDouble() != def.toDouble() || def.contains("--"));
        QCOMPARE(t->item(r, 3)->font().bold(), differs);
        QCOMPARE(t->item(r, 3)->foreground().color(), differs ? QColor(Qt::red) : QColor(Qt::black));
        ++checked;
    }
    QCOMPARE(checked, saved.size());
    // The rows missing from the file: hidden by the text reader; kept by the workbook reader unless undefined.
    for (int r = 0; r < t->rowCount(); ++r) {
        const int n = ParamText::labelNumber(m_form->cellText(r, 1));
        if (saved.contains(n))
            continue;
        if (filter.startsWith("TXT"))
            QVERIFY(t->isRowHidden(r));
        else if (!t->isRowHidden(r))
            QVERIFY(!(m_form->cellText(r, 3) == "--" && m_form->cellText(r, 8) == "--"));
    }
    QCOMPARE(int(g_sortFlag), sortColumn);
    QCOMPARE(m_form->selectParaCombo->currentIndex(), 0);
    QCOMPARE(m_form->VerifyParameter->currentIndex(), 1);
    QVERIFY(m_form->compareResult->isVisible());
    QCOMPARE(m_form->compareResult->windowTitle(), QString("Default VS Setting"));
    m_form->compareResult->hide();
    QVERIFY(!m_window->progressBar->isVisible());
}

void TestParameterFiles::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("typed"); // "~" is the desktop folder
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written"); // the name the save aims at
    QTest::addColumn<QString>("reason");
    const QString text = "TXT Files(*.txt)";
    const QString book = "XLS Files(*.xlsx)";
    QTest::newRow("text into a missing folder") << "~/missing/list.txt" << text << "~/missing/list.txt"
                                                << "No such file or directory";
    QTest::newRow("workbook into a missing folder") << "~/missing/list" << book << "~/missing/list.xlsx"
                                                    << "No such file or directory";
    QTest::newRow("text below a file") << "~/old.dat/list.txt" << text << "~/old.dat/list.txt"
                                       << "Not a directory";
    QTest::newRow("workbook below a file") << "~/old.dat/list.xlsx" << book << "~/old.dat/list.xlsx"
                                           << "Not a directory";
    QTest::newRow("text into the kernel's folder") << "/proc/list.txt" << text << "/proc/list.txt"
                                                   << "";
    QTest::newRow("workbook into the kernel's folder") << "/proc/list.xlsx" << book << "/proc/list.xlsx"
                                                       << "";
    // Refused before the question whether to replace it.
    QTest::newRow("unknown ending") << "~/old.dat" << text << "~/old.dat"
                                    << "Only names ending in .xlsx or .txt can be saved";
    // Endings compare without case (old.XLSX is a workbook), but the old format's is no ending of ours.
    QTest::newRow("old ending in capitals") << "~/old.XLS" << book << "~/old.XLS"
                                            << "Only names ending in .xlsx or .txt can be saved";
}

void TestParameterFiles::failedSaveKeepsOldFile()
{
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(QString, reason);
    typed.replace("~", m_desktop);
    written.replace("~", m_desktop);
    QVERIFY(writeFile(m_desktop + "/old.dat", "the user's file"));
    QVERIFY(writeFile(m_desktop + "/old.XLSX", "the user's workbook"));
    fillSmallTable(englishRows(), EnglishHeaders);

    Session s { typed, filter, "", "", "", {} };
    save(s);
    QCOMPARE(s.messages.size(), 1);
    if (reason.startsWith("Only names"))
        QCOMPARE(s.overWaiting, QStringList());
    const QString message = s.messages.last();
    QVERIFY2(message.startsWith("Cannot write file " + written + ":\n" + reason), qPrintable(message));
    QVERIFY(message.endsWith('.'));
    QVERIFY(message.size() > QString("Cannot write file " + written + ":\n.").size());
    QCOMPARE(fileBytes(m_desktop + "/old.dat"), QByteArray("the user's file"));
    QCOMPARE(fileBytes(m_desktop + "/old.XLSX"), QByteArray("the user's workbook"));
    QCOMPARE(QDir(m_desktop).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList({ "old.dat", "old.XLSX" }));
    QVERIFY(!m_window->progressBar->isVisible());
    QVERIFY(!m_window->progressLabel->isVisible());
}

void TestParameterFiles::fullDiskKeepsOldFile()
{
    loadSeries('D', 0);
    for (const QString &name : { QString("list.txt"), QString("list.xlsx") }) {
        const QString path = m_desktop + '/' + name;
        QVERIFY(writeFile(path, "the user's file"));
        Session s { path, "", "", "", "", {} };
        // A file size limit makes every write past it fail as a full disk would.
        rlimit saved;
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 2000;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        save(s);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);

        // The dialog asked about replacing the file; the save then said why it could not.
        QCOMPARE(s.messages.size(), 2);
        QVERIFY2(s.messages.at(1).startsWith("Cannot write file " + path + ":\n"), qPrintable(s.messages.at(1)));
        QCOMPARE(fileBytes(path), QByteArray("the user's file"));
        QCOMPARE(
            QDir(m_desktop).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList { name });
        QFile::remove(path);
    }
}

void TestParameterFiles::otherDriveTypeChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // a workbook when the name ends in .xlsx: A1's text
    QTest::newRow("text of another type") << "other.txt"
                                          << QByteArray("VM3-023-1.5K        ,2                   ,1\r\nheader\r\n"
                                                        "   P.1         1              RW             Name\r\n");
    QTest::newRow("text, type differs in case") << "case.txt" << QByteArray("vs5-043-5.5K|7.5K ,2 ,1\r\n");
    QTest::newRow("text, type with the slash kept") << "slash.txt" << QByteArray("VS5-043-5.5K/7.5K|x ,2 ,1\r\n");
    QTest::newRow("empty text file") << "empty.txt" << QByteArray();
    QTest::newRow("empty first line") << "blank.txt" << QByteArray("\r\nheader\r\n   P.1      5     RW     Name\r\n");
    QTest::newRow("first line of separators only") << "commas.txt" << QByteArray(" , ,\n");
    QTest::newRow("workbook of another type") << "other.xlsx" << QByteArray("VM3-023-1.5K");
    QTest::newRow("workbook without a type") << "blank.xlsx" << QByteArray();
}

void TestParameterFiles::otherDriveTypeChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    loadSeries('S', 0);
    const QString path = m_desktop + '/' + name;
    if (name.endsWith(".xlsx")) {
        Workbook book;
        QVERIFY(book.setValue(1, 1, QString::fromUtf8(content)));
        QVERIFY(book.setValue(2, 1, QString("Trad. P mode")));
        QVERIFY(book.setValue(3, 1, QString("P.1")));
        QVERIFY(book.setValue(3, 7, QString("'7")));
        QVERIFY(book.saveAs(path));
    } else {
        QVERIFY(writeFile(path, content));
    }
    m_form->VerifyParameter->setCurrentIndex(0);
    m_form->compareResult->hide();
    const QVector<RowState> before = tableState(m_form);
    const unsigned char sortFlag = g_sortFlag;
    Session s { path, "", "", "", "", {} };
    open(s);
    QCOMPARE(s.messages, QStringList { "The INV type doesn't match ." });
    QVERIFY(tableState(m_form) == before);
    QCOMPARE(g_sortFlag, sortFlag);
    QCOMPARE(m_form->VerifyParameter->currentIndex(), 1);
    QCOMPARE(m_form->tableRows, m_form->PartableWidget->rowCount());
    QVERIFY(!m_form->compareResult->isVisible());
    QVERIFY(!m_window->progressBar->isVisible());
}

void TestParameterFiles::otherKindOfFileIsRefused()
{
    loadSeries('S', 0);
    m_form->VerifyParameter->setCurrentIndex(0);
    m_form->compareResult->hide();
    const QVector<RowState> before = tableState(m_form);
    const QString path = m_desktop + "/list.dat";
    QVERIFY(writeFile(path, QString(g_invType + " ,2,1\r\nheader\r\n   P.1   5   RW   Name\r\n").toLatin1()));
    Session s { path, "", "", "", "", {} };
    open(s);
    QCOMPARE(s.messages,
        QStringList { "Cannot read file " + path + ":\nOnly names ending in .xlsx or .txt can be opened." });
    QVERIFY(tableState(m_form) == before);
    QCOMPARE(m_form->VerifyParameter->currentIndex(), 0);
    QVERIFY(!m_form->compareResult->isVisible());
    QVERIFY(m_window->progressBar->isHidden());
}

void TestParameterFiles::damagedHeaderTakesDefaults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("sort");
    QTest::addColumn<int>("expectedDisplay");
    QTest::addColumn<int>("expectedSort");
    QTest::newRow("text: sort column 7, display 5") << "a.txt"
                                                    << "5"
                                                    << "7" << 2 << 1;
    QTest::newRow("text: sort column -1, display -1") << "b.txt"
                                                      << "-1"
                                                      << "-1" << 2 << 1;
    QTest::newRow("text: sort column 0, display 0 are kept") << "c.txt"
                                                             << "0"
                                                             << "0" << 0 << 0;
    QTest::newRow("text: no numbers") << "d.txt"
                                      << "x"
                                      << "y" << 0 << 0;
    QTest::newRow("text: type alone") << "e.txt"
                                      << ""
                                      << "" << 2 << 1;
    QTest::newRow("workbook: sort column 3, display 9") << "a.xlsx"
                                                        << "9"
                                                        << "3" << 2 << 1;
    QTest::newRow("workbook: sort column 0, display 1 are kept") << "b.xlsx"
                                                                 << "1"
                                                                 << "0" << 1 << 0;
    QTest::newRow("workbook: empty sort column") << "c.xlsx"
                                                 << "0"
                                                 << "" << 0 << 1;
}

void TestParameterFiles::damagedHeaderTakesDefaults()
{
    QFETCH(QString, name);
    QFETCH(QString, display);
    QFETCH(QString, sort);
    QFETCH(int, expectedDisplay);
    QFETCH(int, expectedSort);
    loadSeries('A', 0); // group-numbered: sorting by group gives another order than by number
    QTableWidget *t = m_form->PartableWidget;
    const QString path = m_desktop + '/' + name;
    const QList<int> listed = { 0, 1, 2, 100, 200, 1101, 5 };
    if (name.endsWith(".xlsx")) {
        Workbook book;
        QVERIFY(book.setValue(1, 1, QString("InvParameter-") + g_invType));
        QVERIFY(book.setValue(1, 2, display));
        if (!sort.isEmpty())
            QVERIFY(book.setValue(1, 3, sort.toInt()));
        QVERIFY(book.setValue(2, 10, QString("Comment 2"))); // ten columns ending in "Comment 2": values in H
        int row = 3;
        for (int n : listed) {
            QVERIFY(book.setValue(row, 2, QString("'   P.%1").arg(n)));
            QVERIFY(book.setValue(row, 8, QString("'%1").arg(n + 1)));
            ++row;
        }
        QVERIFY(book.saveAs(path));
    } else {
        QByteArray text = g_invType.toLatin1();
        if (!display.isEmpty())
            text += "  ," + display.toLatin1() + "," + sort.toLatin1();
        text += "\r\nheader line\r\n";
        for (int n : listed)
            text += QString("00-00          P.%1           1    %2         RW             Name %1\r\n")
                        .arg(n)
                        .arg(n + 1)
                        .toLatin1();
        QVERIFY(writeFile(path, text));
    }
    m_form->mySort(expectedSort == 0 ? 1 : 0);
    Session s { path, "", "", "", "", {} };
    open(s);
    QCOMPARE(s.messages, QStringList());
    QCOMPARE(m_form->selectParaCombo->currentIndex(), expectedDisplay);
    QCOMPARE(int(g_sortFlag), expectedSort);
    // The table stands in the order of the accepted sort column.
    const int column = expectedSort;
    for (int r = 1; r < t->rowCount(); ++r)
        QVERIFY2(t->item(r - 1, column)->text() <= t->item(r, column)->text(), qPrintable(QString::number(r)));
    for (int n : listed)
        QCOMPARE(m_form->cellText(rowOfNumber(m_form, n), 10), QString::number(n + 1));
    if (expectedDisplay == 1)
        QCOMPARE(g_selectedRows.size(), listed.size());
}

void TestParameterFiles::misreadFieldsAreSkipped()
{
    loadSeries('D', 0);
    QTableWidget *t = m_form->PartableWidget;
    for (int r = 0; r < t->rowCount(); ++r)
        t->item(r, 10)->setText("stale");
    const QByteArray text = "VM3-023-1.5K        ,2                   ,1\r\n"
                            "Trad. P mode   Min            Max            Unit           Default value                 "
                            "Current value  Comment        Name\r\n"
                            "   P.1         0.00           400.00         0.01Hz         50.00Hz                       "
                            "12.50          RW             Good line\r\n"
                            "   P.2         0.00           400.00         0.01Hz         50.00Hz                       "
                            "60.00                         Empty comment\r\n"
                            "   P.3         0.00           400.00         0.01Hz         50.00Hz                       "
                            "60.00          RW             Two  spaces\r\n"
                            "   P.4         0.00           400.00         0.01Hz         50.00Hz                       "
                            "--             RW             No value\r\n"
                            "   P.5\t0\t9\tHz\t5\t7.5\tRW\tTabbed line\r\n"
                            "   P.6 0 9 Hz 5 7.5 RW Single spaces\r\n"
                            "   P.abc       0              9              Hz             5                             "
                            "8              RW             Letters\r\n"
                            "   P.0         0              9              Hz             5                             "
                            "3              RW             Zero\r\n"
                            "   P. 99X      --             --             --             --                            "
                            "0              --             Command\n"
                            "   P.1700      0              9              Hz             5                             "
                            "4              RW             Too high\r\n";
    const QString path = m_desktop + "/hand.txt";
    QVERIFY(writeFile(path, text));
    Session s { path, "", "", "", "", {} };
    open(s);
    // The default, the comment and a piece of a name are no values: those parameters are left out,
    // named in one message, and keep no earlier Setting value that a batch write would send.
    QCOMPARE(s.messages, QStringList { "These values were not loaded:\nP.2: 50.00Hz\nP.3: RW" });
    auto setting = [&](int n) { return m_form->cellText(rowOfNumber(m_form, n), 10); };
    auto hidden = [&](int n) { return t->isRowHidden(rowOfNumber(m_form, n)); };
    QCOMPARE(setting(1), QString("12.50"));
    QVERIFY(!hidden(1));
    QCOMPARE(setting(2), QString());
    QVERIFY(hidden(2));
    QCOMPARE(setting(3), QString());
    QVERIFY(hidden(3));
    QCOMPARE(setting(4), QString());
    QVERIFY(!hidden(4));
    QCOMPARE(setting(5), QString("7.5"));
    QVERIFY(hidden(6));
    QCOMPARE(setting(6), QString());
    QCOMPARE(setting(7), QString()); // not in the file at all
    QCOMPARE(setting(0), QString("3"));
    QCOMPARE(setting(999), QString("0"));
    QVERIFY(!hidden(999));
}

void TestParameterFiles::workbookFromIndependentWriter()
{
    loadSeries('D', 0);
    QTableWidget *t = m_form->PartableWidget;
    for (int r = 0; r < t->rowCount(); ++r)
        t->item(r, 10)->setText("stale");
    const QString path = m_desktop + "/theirs.xlsx";
    QProcess process;
    process.start("/usr/bin/python3", { sourceDir() + "/tests/parameter/data/list_writer.py", path, g_invType });
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    Session s { path, "", "", "", "", {} };
    open(s);
    QCOMPARE(s.messages, QStringList { "These values were not loaded:\nP.3: oops" });
    auto setting = [&](int n) { return m_form->cellText(rowOfNumber(m_form, n), 10); };
    QCOMPARE(setting(1), QString("7.25"));
    QCOMPARE(setting(2), QString()); // listed without a value
    QCOMPARE(setting(3), QString()); // "oops" is no value
    QCOMPARE(setting(4), QString("-3"));
    // Rows the workbook does not list stay in view, with nothing a batch write could send.
    QCOMPARE(setting(10), QString());
    QCOMPARE(m_form->selectParaCombo->currentIndex(), 2);
    // A value that differs from the default is marked; the workbook reader keeps unlisted rows in view.
    QVERIFY(t->item(rowOfNumber(m_form, 1), 3)->font().bold());
    QCOMPARE(t->item(rowOfNumber(m_form, 1), 0)->foreground().color(), QColor(Qt::red));
    QVERIFY(!t->isRowHidden(rowOfNumber(m_form, 10)));
}

QTEST_MAIN(TestParameterFiles)
#include "tst_parameterfiles.moc"
