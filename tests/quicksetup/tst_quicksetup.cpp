// The wizard's pages as the user sees them, by series, firmware and feature key: the frame and its
// navigation, the lists and ranges of each step, the labels and enabled rows of Step 4, the texts of
// series A and the factory choices.
#include "comm/globals.h"
#include "platform/appstate.h"
#include "quicksetup/quicksetup.h"
#include "wizardfixture.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

using wizardtest::setKeys;

namespace {

QStringList items(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

QVector<int> indices(const QVector<QComboBox *> &combos)
{
    QVector<int> out;
    for (const QComboBox *c : combos)
        out << c->currentIndex();
    return out;
}

// "1" for an enabled row, "0" for a disabled one, label and selector together ("x" if they differ).
QString enabledRows(const QVector<QLabel *> &labels, const QVector<QComboBox *> &combos)
{
    QString out;
    for (int i = 0; i < combos.size(); ++i)
        out += labels.at(i)->isEnabled() != combos.at(i)->isEnabled() ? QLatin1Char('x')
                                                                        : combos.at(i)->isEnabled() ? QLatin1Char('1')
                                                                                                    : QLatin1Char('0');
    return out;
}

QString nullPlaces(const QVector<QComboBox *> &combos)
{
    QString out;
    for (const QComboBox *c : combos)
        out += c->count() > 0 && c->itemText(0) == QLatin1String("NULL") ? QLatin1Char('N') : QLatin1Char('-');
    return out;
}

} // namespace

class TestQuickSetup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void frameAndNavigation_data();
    void frameAndNavigation();
    void stepOneLists_data();
    void stepOneLists();
    void stepTwoRanges_data();
    void stepTwoRanges();
    void stepThreeMirror();
    void stepFourRows_data();
    void stepFourRows();
    void outputCountsAtFirmwareSteps_data();
    void outputCountsAtFirmwareSteps();
    void seriesAInputTexts_data();
    void seriesAInputTexts();
    void factoryChoices_data();
    void factoryChoices();
    void chineseTexts_data();
    void chineseTexts();

private:
    void open(char series, const QString &firmware, const QStringList &keys, int fields);
    QTemporaryDir m_dir;
    std::unique_ptr<QuickSetup> m_wizard;
};

void TestQuickSetup::init()
{
    m_wizard.reset();
    g_appDir = m_dir.path() + QLatin1Char('/');
}

void TestQuickSetup::open(char series, const QString &firmware, const QStringList &keys, int fields)
{
    g_seriesLetter = series;
    g_firmwareVersion = firmware;
    setKeys(series, keys);
    QVERIFY(wizardtest::writeTerminalFile(m_dir.path(), QByteArray("AGLXTFBCSDH0-0-99\r\n") + wizardtest::functionLine(fields)
                                                           + "\r\n"));
    m_wizard.reset(new QuickSetup(nullptr));
}

void TestQuickSetup::frameAndNavigation_data()
{
    QTest::addColumn<char>("series");
    QTest::newRow("A") << 'A';
    QTest::newRow("G") << 'G';
    QTest::newRow("no series") << '0';
}

void TestQuickSetup::frameAndNavigation()
{
    QFETCH(char, series);
    open(series, "0.30", {}, 10);
    QuickSetup &w = *m_wizard;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QString("Quick Setup"));
    // Fixed, 700 high and 660 wide unless a text needs more (the Step 4 labels and lists do here).
    QCOMPARE(w.height(), 700);
    QVERIFY(w.width() >= 660);
    QCOMPARE(w.minimumSize(), w.size());
    QCOMPARE(w.maximumSize(), w.size());
    QTabWidget *tabs = w.tabWidget;
    QCOMPARE(tabs->count(), 4);
    QStringList titles;
    for (int i = 0; i < 4; ++i)
        titles << tabs->tabText(i);
    QCOMPARE(titles, QStringList({ "Step 1", "Step 2", "Step 3", "Step 4" }));
    QCOMPARE(tabs->currentIndex(), 0);

    // Every forward and back button, then the tabs themselves.
    const QList<QPair<QToolButton *, int>> presses { { w.stepOneNextButton, 1 }, { w.stepTwoNextButton, 2 },
                                                     { w.stepThreeNextButton, 3 }, { w.stepFourBackButton, 2 },
                                                     { w.stepThreeBackButton, 1 }, { w.stepTwoBackButton, 0 } };
    for (const auto &press : presses) {
        QTest::mouseClick(press.first, Qt::LeftButton);
        QCOMPARE(tabs->currentIndex(), press.second);
    }
    QCOMPARE(w.stepOneNextButton->text(), QString("Next Step"));
    QCOMPARE(w.stepTwoBackButton->text(), QString("Back Step"));
    QCOMPARE(w.stepFourOkButton->text(), QString("OK"));
    QCOMPARE(w.stepFourOkButton->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    QVERIFY(!w.stepFourOkButton->icon().isNull());
    QTabBar *bar = tabs->tabBar();
    for (int i : { 3, 0, 2, 1 }) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
        QCOMPARE(tabs->currentIndex(), i);
    }
    QVERIFY(!w.windowIcon().isNull());
}

void TestQuickSetup::stepOneLists_data()
{
    QTest::addColumn<char>("series");
    QTest::addColumn<QStringList>("methods");
    QTest::newRow("A") << 'A' << QStringList { "NULL", "Speed control", "Torque control", "Position control" };
    const QStringList gl { "NULL", "V/F control", "V/F closed-loop control", "General flux vector control",
                           "Speed sensorless vector closed-loop control", "Closed-loop vector control" };
    QTest::newRow("G") << 'G' << gl;
    QTest::newRow("L") << 'L' << gl;
    QTest::newRow("X") << 'X' << QStringList { "NULL", "V/F control", "Facility vector control",
                                               "Speed sensorless vector closed-loop control" };
    QTest::newRow("T") << 'T' << QStringList { "NULL", "V/F control", "General flux vector control" };
    QTest::newRow("H") << 'H' << QStringList { "NULL", "V/F control" };
    QTest::newRow("no series") << '0' << QStringList { "NULL", "V/F control" };
}

void TestQuickSetup::stepOneLists()
{
    QFETCH(char, series);
    QFETCH(QStringList, methods);
    open(series, "0.30", {}, 10);
    QCOMPARE(items(m_wizard->controlMethodCombo), methods);
    QCOMPARE(m_wizard->controlMethodLabel->text(), QString("Control Methods"));
}

void TestQuickSetup::stepTwoRanges_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("voltageMaximum");
    QTest::newRow("plain voltage") << QStringList {} << 9999;
    QTest::newRow("wide voltage") << QStringList { "quicksetup_outVolSpinBox" } << 99999;
}

void TestQuickSetup::stepTwoRanges()
{
    QFETCH(QStringList, keys);
    QFETCH(int, voltageMaximum);
    open('G', "0.30", keys, 10);
    QuickSetup &w = *m_wizard;
    for (QDoubleSpinBox *spin : { w.maxFrequencySpin, w.baseFrequencySpin }) {
        QCOMPARE(spin->maximum(), 1000.0);
        QCOMPARE(spin->singleStep(), 0.01);
        QCOMPARE(spin->decimals(), 2);
    }
    for (QDoubleSpinBox *spin : { w.accelTimeSpin, w.decelTimeSpin }) {
        QCOMPARE(spin->maximum(), 10000.0);
        QCOMPARE(spin->singleStep(), 0.1);
        QCOMPARE(spin->decimals(), 2);
    }
    QCOMPARE(w.maxVoltageSpin->minimum(), 0);
    QCOMPARE(w.maxVoltageSpin->maximum(), voltageMaximum);
    QCOMPARE(w.maxVoltageSpin->value(), voltageMaximum);
    // Typing above the range leaves the box at its maximum.
    w.show();
    w.maxFrequencySpin->selectAll();
    QTest::keyClicks(w.maxFrequencySpin, "1200");
    QVERIFY(w.maxFrequencySpin->value() <= 1000.0);
}

void TestQuickSetup::stepThreeMirror()
{
    open('D', "1.02", {}, 10);
    QuickSetup &w = *m_wizard;
    QCOMPARE(w.frequencySourceCombo->count(), 9);
    QCOMPARE(w.startSourceCombo->count(), 9);
    QVERIFY(!w.startSourceCombo->isEnabled());
    QCOMPARE(items(w.brakeCombo), QStringList({ "Linear Braking", "Idling Braking" }));
    const QList<QPair<int, QString>> rows { { 4, "Communication" }, { 1, "Operation panel" },
                                            { 3, "External terminal STF" }, { 2, "External terminals" },
                                            { 7, "Communication" }, { 5, "Operation panel" } };
    w.show();
    for (const auto &row : rows) {
        // Chosen with the keyboard, as a user would.
        w.frequencySourceCombo->setFocus();
        const int steps = row.first - w.frequencySourceCombo->currentIndex();
        for (int i = 0; i < qAbs(steps); ++i)
            QTest::keyClick(w.frequencySourceCombo, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(w.frequencySourceCombo->currentIndex(), row.first);
        QCOMPARE(w.startSourceCombo->currentText(), row.second);
    }
}

void TestQuickSetup::stepFourRows_data()
{
    QTest::addColumn<char>("series");
    QTest::addColumn<QStringList>("outputLabels");
    QTest::addColumn<QString>("outputsEnabled"); // 4 terminal rows, then 16 slot rows
    QTest::addColumn<QString>("outputNulls");
    QTest::addColumn<QStringList>("firstInputLabels");
    QTest::addColumn<QString>("inputsEnabled");
    QTest::addColumn<QString>("inputNulls");
    const QStringList plain { "Terminal (SO-SE)", "Relay (A-B-C)", "Relay (A1-B1-C1)", "Relay (A2-B2-C2)" };
    const QStringList so { "Terminal (SO1-SE)", "Relay (A1-B1-C1)", "Terminal (SO2-SE)", "Relay (A2-B2-C2)" };
    const QStringList plainInputs { "Multi-function input terminals M0", "Multi-function input terminals M1",
                                    "Multi-function input terminals M2", "Multi-function input terminals STF",
                                    "Multi-function input terminals STR", "Multi-function input terminals RES",
                                    "Multi-function input terminals M3", "Multi-function input terminals M4",
                                    "Multi-function input terminals M5", "Multi-function input terminals HDI" };
    const QString noSlots16 = QString(16, '0');
    const QString noSlots12 = QString(12, '0');
    const QString nulls16 = QString(16, 'N');
    const QString nulls12 = QString(12, 'N');
    for (char s : { 'B', 'C', 'S', 'T' })
        QTest::newRow(qPrintable(QString(QLatin1Char(s)))) << s << plain << "1100" + noSlots16 << "----" + nulls16
                                                           << plainInputs << "1111110000" + noSlots12
                                                           << "----------" + nulls12;
    const QStringList gf { "Terminal (SU-SE)", "Relay (A-B-C)", "Terminal (RUN-SE)", "Terminal (FU/10X-SE)" };
    QStringList gfInputs;
    for (const char *n : { "RL", "RM", "RH", "STF", "STR", "RES", "AU", "RT", "MRS" })
        gfInputs << QStringLiteral("Multi-function input terminals %1").arg(QLatin1String(n));
    gfInputs << "Multi-function input terminals HDI";
    for (char s : { 'F', 'G' })
        QTest::newRow(qPrintable(QString(QLatin1Char(s)))) << s << gf << "1111" + noSlots16 << "----" + nulls16
                                                           << gfInputs << "1111111110" + noSlots12
                                                           << "----------" + nulls12;
    QTest::newRow("L") << 'L' << so << "1111" + noSlots16 << "----" + nulls16 << plainInputs
                       << "1111111001" + noSlots12 << "----------" + nulls12;
    QTest::newRow("A") << 'A' << so << QString(20, '1') << QString(20, 'N') << plainInputs << QString(22, '1')
                       << "NNNNNNNNN-" + nulls12;
    QTest::newRow("no series") << '0' << plain << "1111" + noSlots16 << "----" + nulls16 << plainInputs
                               << "1111111111" + noSlots12 << "----------" + nulls12;
}

void TestQuickSetup::stepFourRows()
{
    QFETCH(char, series);
    QFETCH(QStringList, outputLabels);
    QFETCH(QString, outputsEnabled);
    QFETCH(QString, outputNulls);
    QFETCH(QStringList, firstInputLabels);
    QFETCH(QString, inputsEnabled);
    QFETCH(QString, inputNulls);
    open(series, "0.30", {}, 10);
    QuickSetup &w = *m_wizard;
    QStringList labels;
    for (int i = 0; i < 4; ++i)
        labels << w.outputFunctionLabels.at(i)->text();
    QCOMPARE(labels, outputLabels);
    QCOMPARE(w.slotOutputFunctionLabels.at(8)->text(), QString("The output of A10 function selection (SLOT2)"));
    QCOMPARE(enabledRows(w.outputFunctionLabels + w.slotOutputFunctionLabels,
                         w.outputFunctionCombos + w.slotOutputFunctionCombos),
             outputsEnabled);
    QCOMPARE(nullPlaces(w.outputFunctionCombos + w.slotOutputFunctionCombos), outputNulls);
    labels.clear();
    for (int i = 0; i < 10; ++i)
        labels << w.inputFunctionLabels.at(i)->text();
    QCOMPARE(labels, firstInputLabels);
    QCOMPARE(w.inputFunctionLabels.at(21)->text(), QString("Multi-function input terminals M15(SLOT2)"));
    QCOMPARE(enabledRows(w.inputFunctionLabels, w.inputFunctionCombos), inputsEnabled);
    QCOMPARE(nullPlaces(w.inputFunctionCombos), inputNulls);
    // Each selector owns its list: a choice in one leaves the others alone.
    w.outputFunctionCombos[0]->setCurrentIndex(3);
    QVERIFY(w.outputFunctionCombos[1]->currentIndex() != 3 || w.outputFunctionCombos[1] != w.outputFunctionCombos[0]);
    QCOMPARE(w.functionTabWidget->tabText(0), QString("Output"));
    QCOMPARE(w.functionTabWidget->tabText(1), QString("Input"));
}

void TestQuickSetup::outputCountsAtFirmwareSteps_data()
{
    QTest::addColumn<char>("series");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("terminalItems");
    QTest::addColumn<int>("slotItems");
    QTest::newRow("G 0.25") << 'G' << "0.25" << 12 << 13;
    QTest::newRow("G 0.30") << 'G' << "0.30" << 13 << 14;
    QTest::newRow("X 0.59") << 'X' << "0.59" << 11 << 12;
    QTest::newRow("X 0.60") << 'X' << "0.60" << 13 << 14;
    QTest::newRow("T 0.39") << 'T' << "0.39" << 11 << 12;
    QTest::newRow("T 0.40") << 'T' << "0.40" << 12 << 13;
    QTest::newRow("A") << 'A' << "1.10" << 17 << 17;
    QTest::newRow("D") << 'D' << "1.02" << 9 << 10;
}

void TestQuickSetup::outputCountsAtFirmwareSteps()
{
    QFETCH(char, series);
    QFETCH(QString, firmware);
    QFETCH(int, terminalItems);
    QFETCH(int, slotItems);
    open(series, firmware, {}, 10);
    for (QComboBox *combo : m_wizard->outputFunctionCombos)
        QCOMPARE(combo->count(), terminalItems);
    for (QComboBox *combo : m_wizard->slotOutputFunctionCombos)
        QCOMPARE(combo->count(), slotItems);
}

void TestQuickSetup::seriesAInputTexts_data()
{
    QTest::addColumn<int>("fields");
    QTest::newRow("70 fields") << 70;
    QTest::newRow("10 fields") << 10;
    QTest::newRow("no line") << 0;
}

void TestQuickSetup::seriesAInputTexts()
{
    QFETCH(int, fields);
    open('A', "1.10", {}, fields);
    QuickSetup &w = *m_wizard;
    QComboBox *m0 = w.inputFunctionCombos[0];
    QComboBox *hdi = w.inputFunctionCombos[9];
    QCOMPARE(m0->count(), fields + 1);
    QCOMPARE(hdi->count(), fields);
    QCOMPARE(m0->itemText(0), QString("NULL"));
    if (fields == 0)
        return;
    QCOMPARE(m0->itemText(1), QString("STF(the inverter runs forward)"));
    QCOMPARE(m0->itemText(10), QString("EXT(external JOG)"));
    // HDI has no "NULL": its first item is the first function, the code it writes.
    QCOMPARE(hdi->itemText(0), QString("STF(the inverter runs forward)"));
    QCOMPARE(hdi->itemText(9), QString("EXT(external JOG)"));
    if (fields == 70) {
        QCOMPARE(m0->itemText(42), QString("PWM setting frequency (Note 1)"));
        QCOMPARE(m0->itemText(43), QString("RUN_EN (the digital input terminal running enable)"));
        QCOMPARE(m0->itemText(66), QString("External forced stop"));
        QCOMPARE(m0->itemText(67), QString("F66")); // beyond the fixed texts: the file's own
        QCOMPARE(m0->itemText(70), QString("F69"));
        QCOMPARE(hdi->itemText(56), QString("High-speed pulse input function(note1)"));
        QCOMPARE(hdi->itemText(65), QString("External forced stop"));
        QCOMPARE(hdi->itemText(66), QString("F66"));
        QCOMPARE(w.inputFunctionCombos[21]->itemText(57), QString("High-speed pulse input function(note1)"));
    }
}

void TestQuickSetup::factoryChoices_data()
{
    QTest::addColumn<char>("series");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("fields");
    QTest::addColumn<int>("control");
    QTest::addColumn<QVector<int>>("outputs");
    QTest::addColumn<QVector<int>>("inputs"); // the first ten
    QTest::addColumn<int>("slotChoice"); // every slot selector
    // Slot selectors the defaults leave alone keep the first function: "NULL" went in front of it.
    QTest::newRow("L") << 'L' << QStringList {} << 70 << 0 << QVector<int> { 1, 5, 2, 0 }
                       << QVector<int> { 2, 3, 4, 0, 1, 30, 5, 0, 0, 56 } << 1;
    QTest::newRow("A") << 'A' << QStringList {} << 70 << 0 << QVector<int> { 2, 6, 3, 1 }
                       << QVector<int> { 3, 4, 5, 1, 2, 31, 6, 9, 8, 56 } << 0;
    // A list too short for index 56 leaves HDI with no choice.
    QTest::newRow("A short list") << 'A' << QStringList {} << 40 << 0 << QVector<int> { 2, 6, 3, 1 }
                                  << QVector<int> { 3, 4, 5, 1, 2, 31, 6, 9, 8, -1 } << 0;
    QTest::newRow("G GF H") << 'G' << QStringList { "quicksetup_GF", "quicksetup_H" } << 70 << 0
                            << QVector<int> { 1, 0, 1, 3 } << QVector<int> { 2, 3, 4, 0, 1, 30, 6, 9, 8, 0 } << 1;
    QTest::newRow("S shipped keys") << 'S' << QStringList { "quicksetup_setCurrentIndex" } << 42 << 1
                                    << QVector<int> { 1, 5, 0, 0 } << QVector<int> { 2, 3, 4, 0, 1, 30, 0, 0, 0, 0 }
                                    << 1;
    QTest::newRow("no series") << '0' << QStringList { "quicksetup_setCurrentIndex", "quicksetup_GF" } << 42 << 0
                               << QVector<int> { 1, 5, 0, 0 } << QVector<int> { 2, 3, 4, 0, 1, 30, 0, 0, 0, 0 } << 1;
}

void TestQuickSetup::factoryChoices()
{
    QFETCH(char, series);
    QFETCH(QStringList, keys);
    QFETCH(int, fields);
    QFETCH(int, control);
    QFETCH(QVector<int>, outputs);
    QFETCH(QVector<int>, inputs);
    QFETCH(int, slotChoice);
    open(series, "0.30", keys, fields);
    QuickSetup &w = *m_wizard;
    QCOMPARE(w.controlMethodCombo->currentIndex(), control);
    QCOMPARE(w.maxFrequencySpin->value(), 120.0);
    QCOMPARE(w.baseFrequencySpin->value(), 60.0);
    QCOMPARE(w.accelTimeSpin->value(), 5.0);
    QCOMPARE(w.decelTimeSpin->value(), 5.0);
    QCOMPARE(w.frequencySourceCombo->currentIndex(), 4);
    QCOMPARE(w.startSourceCombo->currentIndex(), 4);
    QCOMPARE(w.brakeCombo->currentIndex(), 0);
    QCOMPARE(indices(w.outputFunctionCombos), outputs);
    QCOMPARE(indices(w.inputFunctionCombos).mid(0, 10), inputs);
    const QVector<int> slotIndices = indices(w.slotOutputFunctionCombos) + indices(w.inputFunctionCombos).mid(10);
    for (int index : slotIndices)
        QCOMPARE(index, slotChoice);
    // A second call gives the same.
    w.outputFunctionCombos[0]->setCurrentIndex(5);
    w.setDefaultValues();
    QCOMPARE(indices(w.outputFunctionCombos), outputs);
}

void TestQuickSetup::chineseTexts_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("frequency");
    QTest::newRow("Simplified") << "TavironINV_zh_CN" << QString::fromUtf8("快速设置") << QString::fromUtf8("最大输出频率");
    QTest::newRow("Traditional") << "TavironINV_zh_Big" << QString::fromUtf8("快速設定")
                                 << QString::fromUtf8("最大輸出頻率");
    QTest::newRow("English") << "TavironINV_Eng" << "Quick Setup" << "Maximum Output Frequency";
}

void TestQuickSetup::chineseTexts()
{
    QFETCH(QString, catalogue);
    QFETCH(QString, title);
    QFETCH(QString, frequency);
    Q_INIT_RESOURCE(language);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/new prefix/language/") + catalogue));
    QCoreApplication::installTranslator(&translator);
    open('A', "1.10", {}, 70);
    QCOMPARE(m_wizard->windowTitle(), title);
    QCOMPARE(m_wizard->maxFrequencyLabel->text(), frequency);
    if (catalogue != QLatin1String("TavironINV_Eng")) {
        QVERIFY(m_wizard->tabWidget->tabText(0) != QLatin1String("Step 1"));
        QVERIFY(m_wizard->inputFunctionCombos[0]->itemText(1) != QLatin1String("STF(the inverter runs forward)"));
        QVERIFY(m_wizard->outputFunctionCombos[0]->itemText(1) != QLatin1String("RUN (Inverter running)"));
    }
    QCOMPARE(m_wizard->inputFunctionCombos[0]->itemText(0), QString("NULL"));
    m_wizard.reset();
    QCoreApplication::removeTranslator(&translator);
}

QTEST_MAIN(TestQuickSetup)
#include "tst_quicksetup.moc"
