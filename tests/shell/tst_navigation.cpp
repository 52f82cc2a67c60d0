#include "navfixture.h"

#include "parameter/paramglobals.h"
#include "shell/startup.h"

#include <QTranslator>

// The navigation dock's form and station list, driven through its buttons, the tree and the
// station dialog as a user does.
class tst_Navigation : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void form_data();
    void form();
    void formSize();
    void commandButtonsAreLight();
    void typeTexts_data();
    void typeTexts();
    void stationNumbers_data();
    void stationNumbers();

    void addingStations_data();
    void addingStations();
    void addedStationsSortAndTakeTheMarks();
    void refusedStations_data();
    void refusedStations();
    void clicks_data();
    void clicks();
    void selectingATestedStationGoesOnLine();
    void eachStationLoadsItsOwnSelectors();
    void eachStationLoadsItsOwnModel();
    void editDialogIsPresetFromTheEntry();
    void editing_data();
    void editing();
    void deleting_data();
    void deleting();
    void languageSwitchRebuildsTheLabel();
    void unreadableTypeListIsReported();

private:
    NavFixture m_fix;
    std::unique_ptr<CNavigation> m_form;
    CNavigation *nav() { return m_fix.nav(); }
};

namespace {

const QList<QPair<QString, QString>> kExtraTypes = {
    { "VP/VP-G-220V", "0.75K,0.75K-G,1.5K" },
    { "VP-GT-440V", "1.5K,2.2K" },
    { "VR3-L-440V", "1.5K,2.2K" },
};
const QStringList kExtraSeries = { "D//VP/VP-G//1.02//1000//0", "S//VP-GT//0.25//200//0", "A//VR3-L//1.10//1300//1" };

const QColor Current(176, 196, 222);
const QColor Other(255, 255, 255);

// "7:VM3-023:7.5K" entries separated by ";".
void addStations(NavFixture &fix, const QString &list)
{
    for (const QString &entry : list.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList f = entry.split(QLatin1Char(':'));
        fix.addStation(f.at(0).toInt(), f.at(1), f.at(2));
    }
}

} // namespace

void tst_Navigation::init()
{
    // The form and the text rules need no window.
    const QByteArray test = QTest::currentTestFunction();
    if (test == "form" || test == "typeTexts" || test == "commandButtonsAreLight")
        return;
    QVERIFY(m_fix.setUp(kExtraTypes, kExtraSeries));
    // The G family has no picture of its own among the shipped ones.
    QImage picture(150, 75, QImage::Format_ARGB32);
    picture.fill(QColor(10, 120, 200));
    QVERIFY(picture.save(g_appDir + QStringLiteral("images/VP-G.png")));
}

void tst_Navigation::cleanup()
{
    m_fix.tearDown();
}

void tst_Navigation::form_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");
    const QString silver = QStringLiteral("background-image: url(:/new prefix/images/button_silver.bmp);");
    const QString white = QStringLiteral("color: rgb(255, 255, 255);");
    const QString off = QStringLiteral("background-color: rgb(190, 190, 190);");
    const QList<QPair<const char *, const char *>> buttons = { { "CUPB", "CU" },     { "ExtPB", "EXT" },
                                                               { "JOGPB", "JOG" },   { "NaRevPB", "REV" },
                                                               { "NaFWDPB", "FWD" }, { "NaSetPB", "SET" },
                                                               { "NaStopPB", "STOP" } };
    for (const auto &b : buttons) {
        QTest::addRow("%s_text", b.first) << b.first << QByteArray("text") << QVariant(b.second);
        QTest::addRow("%s_silver", b.first) << b.first << QByteArray("styleSheet") << QVariant(silver);
    }
    const QList<QPair<const char *, const char *>> captions = { { "CULabel", "CU" }, { "EXTLabel", "EXT" },
                                                                { "JOGLabel", "JOG" }, { "Revlabel", "REV" },
                                                                { "Fwdlabel", "FWD" } };
    for (const auto &c : captions) {
        QTest::addRow("%s_text", c.first) << c.first << QByteArray("text") << QVariant(c.second);
        QTest::addRow("%s_white", c.first) << c.first << QByteArray("styleSheet") << QVariant(white);
    }
    for (const char *lamp : { "CUstatusLabel", "ExtStatusLabel", "JogStatuslabel", "RevStatusLabel", "FWDStatusLabel" }) {
        QTest::addRow("%s_off", lamp) << lamp << QByteArray("styleSheet") << QVariant(off);
        QTest::addRow("%s_blank", lamp) << lamp << QByteArray("text") << QVariant(QString());
    }
    QTest::newRow("frame_dark") << "frame" << QByteArray("styleSheet") << QVariant("background-color: rgb(75, 75, 75);");
    QTest::newRow("frequency_caption") << "NaFreLabel" << QByteArray("text") << QVariant("Frequency");
    QTest::newRow("frequency_centred") << "NaFreLabel" << QByteArray("alignment") << QVariant(int(Qt::AlignCenter));
    QTest::newRow("unit") << "NaUnitLabel" << QByteArray("text") << QVariant("Hz");
    QTest::newRow("spin_decimals") << "FrespinBox" << QByteArray("decimals") << QVariant(2);
    QTest::newRow("spin_minimum") << "FrespinBox" << QByteArray("minimum") << QVariant(0.0);
    QTest::newRow("spin_maximum") << "FrespinBox" << QByteArray("maximum") << QVariant(400.99);
    QTest::newRow("spin_step") << "FrespinBox" << QByteArray("singleStep") << QVariant(0.01);
    QTest::newRow("spin_value") << "FrespinBox" << QByteArray("value") << QVariant(60.0);
    QTest::newRow("spin_centred") << "FrespinBox" << QByteArray("alignment") << QVariant(int(Qt::AlignCenter));
    QTest::newRow("spin_colours") << "FrespinBox" << QByteArray("styleSheet")
                                  << QVariant("color: rgb(0, 0, 0);\nbackground-color: rgb(255, 255, 255);");
    QTest::newRow("label") << "PotLabel" << QByteArray("text") << QVariant("Select station: ---");
    QTest::newRow("tree_width") << "SysSettreeView" << QByteArray("minimumWidth") << QVariant(280);
    QTest::newRow("tree_indentation") << "SysSettreeView" << QByteArray("indentation") << QVariant(20);
    QTest::newRow("tree_icons") << "SysSettreeView" << QByteArray("iconSize") << QVariant(QSize(150, 75));
    QTest::newRow("tabs_first") << "SysSettabWidget" << QByteArray("currentIndex") << QVariant(0);
    QTest::newRow("tabs_below") << "SysSettabWidget" << QByteArray("tabPosition") << QVariant(int(QTabWidget::South));
    QTest::newRow("add") << "add_station" << QByteArray("text") << QVariant("Add");
    QTest::newRow("delete") << "delete_atation" << QByteArray("text") << QVariant("Delete");
}

void tst_Navigation::form()
{
    QFETCH(QString, widget);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);
    if (!m_form)
        m_form.reset(new CNavigation());
    QWidget *w = m_form->findChild<QWidget *>(widget);
    QVERIFY2(w, qPrintable(widget));
    QVariant actual = w->property(property);
    if (actual.userType() == qMetaTypeId<Qt::Alignment>())
        actual = int(actual.value<Qt::Alignment>());
    if (value.userType() == QMetaType::Int && actual.canConvert<int>() && actual.userType() != QMetaType::Int)
        actual = actual.toInt();
    QCOMPARE(actual, value);
}

void tst_Navigation::formSize()
{
    CNavigation standalone;
    QCOMPARE(standalone.objectName(), QStringLiteral("NavForm"));
    QCOMPARE(standalone.windowTitle(), QStringLiteral("Navigation"));
    QCOMPARE(standalone.size(), QSize(304, 655));
    QCOMPARE(standalone.SysSettreeView->font().pointSize(), 9);
    QCOMPARE(standalone.CULabel->font().pointSize(), 8);
    QCOMPARE(standalone.SysSettabWidget->tabText(0), QStringLiteral("System setting"));
    QCOMPARE(standalone.SysSettabWidget->tabText(1), QStringLiteral("Setting guide"));
    QCOMPARE(standalone.stationModel->rowCount(), 1);
    QCOMPARE(standalone.treeRoot->text(), QStringLiteral("System setting"));
    QVERIFY(!standalone.treeRoot->isEditable());
    QVERIFY(iconShows(standalone.treeRoot->icon(), QStringLiteral(":/new prefix/images/parent_small.png")));
    QVERIFY(standalone.SysSettreeView->isExpanded(standalone.treeRoot->index()));
    QVERIFY(!standalone.modeState.onLine());
    QVERIFY(!standalone.modeThread->isRunning());
    QCOMPARE(standalone.stationTypes.size(), 255);
}

void tst_Navigation::typeTexts_data()
{
    QTest::addColumn<QString>("typeCombo");
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("presetType");
    QTest::addColumn<QString>("presetPower");
    QTest::newRow("g_family") << "VP/VP-G-220V" << "0.75K-G" << "VP-220V-0.75K-G" << "VP-G" << "VP/VP-G-220V" << "0.75K";
    QTest::newRow("gt_family") << "VP-GT-440V" << "1.5K" << "VP-440V-1.5K-GT" << "VP-GT" << "VP-GT-440V" << "1.5K";
    QTest::newRow("l_family") << "VR3-L-440V" << "1.5K" << "VR3-440V-1.5K-L" << "VR3" << "VR3-L-440V" << "1.5K";
    QTest::newRow("two_fields") << "VM3-023" << "7.5K" << "VM3-023-7.5K" << "VM3" << "VM3-023" << "7.5K";
    QTest::newRow("double_rating") << "VS5-043" << "5.5K/7.5K" << "VS5-043-5.5K/7.5K" << "VS5" << "VS5-043"
                                   << "5.5K/7.5K";
}

void tst_Navigation::typeTexts()
{
    QFETCH(QString, typeCombo);
    QFETCH(QString, power);
    QFETCH(QString, type);
    QFETCH(QString, picture);
    QFETCH(QString, presetType);
    QFETCH(QString, presetPower);
    const StationEntry::TypeText entry = StationEntry::typeText(typeCombo, power);
    QCOMPARE(entry.type, type);
    QCOMPARE(entry.picture, picture);
    // Split at "-", the third part of a type text is the capacity.
    QCOMPARE(entry.type.split(QLatin1Char('-')).at(2), QString(power).remove(QStringLiteral("-G")));

    const StationEntry::DialogPreset preset = StationEntry::presetOfItem(StationEntry::itemText("NO.", 7, type));
    QCOMPARE(preset.number, 7);
    QCOMPARE(preset.type, presetType);
    QCOMPARE(preset.power, presetPower);
    // What the edit dialog offers back, accepted unchanged, gives the same entry.
    QCOMPARE(StationEntry::typeText(preset.type, preset.power).type, type);
}

void tst_Navigation::stationNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("label") << "Select station: NO.007 VM3-023-7.5K" << 7;
    QTest::newRow("first_of_two") << "NO.003 x NO.009" << 3;
    QTest::newRow("highest") << "NO.254 VM3" << 254;
    QTest::newRow("zero") << "NO.000 VM3" << 0;
    QTest::newRow("one_too_many") << "NO.255 VM3" << -1;
    QTest::newRow("far_out") << "NO.1000 VM3" << -1;
    QTest::newRow("negative") << "NO.-3 VM3" << -1;
    QTest::newRow("not_a_number") << "NO.12a VM3" << -1;
    QTest::newRow("mark_alone") << "NO. VM3" << -1;
    QTest::newRow("no_station") << "Select station: ---" << -1;
}

void tst_Navigation::stationNumbers()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(StationEntry::numberInText(text), number);

    // The guard refuses a label naming no usable station without touching the tables.
    nav()->stationTested[0] = 1;
    nav()->PotLabel->setText(text);
    m_fix.watch();
    QCOMPARE(nav()->checkConnection(), number == 0 ? 0 : -1);
    const bool named = text.contains(QStringLiteral("NO."));
    QCOMPARE(m_fix.boxTexts(), number == 0 || !named ? QStringList()
                                                      : QStringList { "Please execute connection test first!" });
}

void tst_Navigation::addingStations_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<char>("series");
    QTest::addColumn<QString>("hex");
    QTest::newRow("g_family") << 7 << "VP/VP-G-220V"
                              << "0.75K-G"
                              << "NO.007 VP-220V-0.75K-G"
                              << "VP-G" << 'D' << "07";
    QTest::newRow("l_family") << 7 << "VR3-L-440V"
                              << "1.5K"
                              << "NO.007 VR3-440V-1.5K-L"
                              << "VR3" << 'A' << "07";
    QTest::newRow("shipped_type") << 10 << "VM3-023"
                                  << "7.5K"
                                  << "NO.010 VM3-023-7.5K"
                                  << "VM3" << 'D' << "0A";
    QTest::newRow("high_number") << 200 << "VS5-043"
                                 << "0.75K"
                                 << "NO.200 VS5-043-0.75K"
                                 << "VS5" << 'S' << "C8";
    QTest::newRow("station_zero") << 0 << "VR3-043"
                                  << "3.7K"
                                  << "NO.000 VR3-043-3.7K"
                                  << "VR3" << 'A' << "00";
    QTest::newRow("highest_number") << 254 << "VR3-043"
                                    << "3.7K"
                                    << "NO.254 VR3-043-3.7K"
                                    << "VR3" << 'A' << "FE";
}

void tst_Navigation::addingStations()
{
    QFETCH(int, number);
    QFETCH(QString, type);
    QFETCH(QString, power);
    QFETCH(QString, text);
    QFETCH(QString, picture);
    QFETCH(char, series);
    QFETCH(QString, hex);
    m_fix.window()->setConnectionState(true);

    m_fix.addStation(number, type, power);

    QCOMPARE(m_fix.boxes().size(), 0);
    QCOMPARE(m_fix.stationTexts(), QStringList { text });
    QStandardItem *item = nav()->treeRoot->child(0);
    QCOMPARE(nav()->currentItem, item);
    QCOMPARE(item->background().color(), Current);
    QVERIFY(item->isSelectable());
    QVERIFY(!item->isEditable());
    QVERIFY(iconShows(item->icon(), g_appDir + QStringLiteral("images/") + picture + QStringLiteral(".png")));
    QCOMPARE(nav()->PotLabel->text(), QStringLiteral("Select station: ") + text);
    const QString typeText = text.section(QLatin1Char(' '), 1);
    QCOMPARE(m_fix.window()->typeValueLabel->text(), typeText);
    QCOMPARE(g_invType, typeText);
    QCOMPARE(nav()->stationTypes.at(number), typeText);
    QCOMPARE(nav()->stationTested[number], 0);
    QCOMPARE(int(g_station), number);
    QCOMPARE(QString::fromLatin1(g_stationHex.field()), hex);
    QCOMPARE(g_seriesLetter.load(), series);
    QCOMPARE(g_modelCode, QStringLiteral("0"));
    // A new station stays off-line until it has passed the connection test.
    QVERIFY(g_offLine);
    QVERIFY(!nav()->modeState.onLine());
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));
    QVERIFY(m_fix.window()->parameterForm->isVisible());
    QVERIFY(m_fix.window()->parameterButton->isEnabled());
    QVERIFY(m_fix.window()->parameterForm->PartableWidget->rowCount() > 0);
}

void tst_Navigation::addedStationsSortAndTakeTheMarks()
{
    addStations(m_fix, QStringLiteral("7:VM3-023:7.5K;3:VR3-043:3.7K;120:VS5-043:0.75K"));
    QCOMPARE(m_fix.stationTexts(),
             (QStringList { "NO.003 VR3-043-3.7K", "NO.007 VM3-023-7.5K", "NO.120 VS5-043-0.75K" }));
    QStandardItem *last = nav()->treeRoot->child(2);
    QCOMPARE(nav()->currentItem, last);
    QCOMPARE(last->background().color(), Current);
    for (int row : { 0, 1 }) {
        QCOMPARE(nav()->treeRoot->child(row)->background().color(), Other);
        QVERIFY(!nav()->treeRoot->child(row)->isSelectable());
    }
    QCOMPARE(nav()->PotLabel->text(), QStringLiteral("Select station: NO.120 VS5-043-0.75K"));
}

void tst_Navigation::refusedStations_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("number_in_use") << "5:VM3-023:7.5K" << 5 << "VR3-043" << true
                                   << QStringList { "The station number has been used!" };
    QTest::newRow("number_255") << "5:VM3-023:7.5K" << 255 << "VR3-043" << true
                                << QStringList { "The station number must be from 0 to 254!" };
    QTest::newRow("type_none") << "5:VM3-023:7.5K" << 6 << "None" << true << QStringList();
    QTest::newRow("cancelled") << "5:VM3-023:7.5K" << 6 << "VR3-043" << false << QStringList();
}

void tst_Navigation::refusedStations()
{
    QFETCH(QString, existing);
    QFETCH(int, number);
    QFETCH(QString, type);
    QFETCH(bool, accept);
    QFETCH(QStringList, boxes);
    addStations(m_fix, existing);
    const QStringList before = m_fix.stationTexts();
    const QString label = nav()->PotLabel->text();
    const QString invType = g_invType;

    m_fix.watch([=](QWidget *modal) {
        NavFixture::fillStationDialog(modal, number, type, QString(), accept);
    });
    QTest::mouseClick(nav()->add_station, Qt::LeftButton);

    QCOMPARE(m_fix.boxTexts(), boxes);
    for (const Box &box : m_fix.boxes())
        QCOMPARE(box.title, QStringLiteral("Warning"));
    QCOMPARE(m_fix.stationTexts(), before);
    QCOMPARE(nav()->PotLabel->text(), label);
    QCOMPARE(g_invType, invType);
    QCOMPARE(nav()->stationTypes.at(5), QStringLiteral("VM3-023-7.5K"));
    QCOMPARE(nav()->stationTypes.at(6), QString());
}

void tst_Navigation::clicks_data()
{
    QTest::addColumn<QStringList>("clicks"); // rows clicked, "root" for "System setting", "double 1" double-clicked
    QTest::addColumn<bool>("editOpens");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("one_click_selects")
        << QStringList { "1" } << false << "NO.007 VM3-023-7.5K" << QStringList { "Single click selectStation:NO.007,VM3-023-7.5K" };
    QTest::newRow("second_click_edits") << QStringList { "1", "1" } << true << "NO.003 VR3-043-3.7K" << QStringList();
    QTest::newRow("double_click_edits") << QStringList { "double 1" } << true << "NO.003 VR3-043-3.7K" << QStringList();
    QTest::newRow("other_item_restarts_the_wait")
        << QStringList { "1", "0" } << false << "NO.003 VR3-043-3.7K" << QStringList { "Single click selectStation:NO.003,VR3-043-3.7K" };
    QTest::newRow("root_changes_nothing") << QStringList { "root" } << false << "NO.003 VR3-043-3.7K" << QStringList();
}

void tst_Navigation::clicks()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, editOpens);
    QFETCH(QString, label);
    QFETCH(QStringList, log);
    addStations(m_fix, QStringLiteral("7:VM3-023:7.5K;3:VR3-043:3.7K"));
    g_invType.clear(); // so a selection reloads the parameter table
    m_fix.window()->parameterForm->hide();
    QFile::resize(g_appDir + QStringLiteral("Operation_log.txt"), 0);
    bool dialogSeen = false;
    m_fix.watch([&](QWidget *modal) {
        dialogSeen = qobject_cast<CSetType *>(modal);
        qobject_cast<QDialog *>(modal)->reject();
    });

    for (const QString &row : clicks)
        m_fix.clickItem(
            row == QLatin1String("root") ? nav()->treeRoot->index() : m_fix.stationIndex(row.right(1).toInt()),
            row.startsWith(QLatin1String("double")));
    // Nothing is selected inside the click window.
    QTest::qWait(300);
    QCOMPARE(nav()->PotLabel->text(), QStringLiteral("Select station: NO.003 VR3-043-3.7K"));
    QTest::qWait(200);

    QCOMPARE(dialogSeen, editOpens);
    QCOMPARE(nav()->PotLabel->text(), QStringLiteral("Select station: ") + label);
    QCOMPARE(m_fix.logLines(), log);
    if (log.isEmpty())
        return;
    QCOMPARE(nav()->currentItem->text(), label);
    QCOMPARE(nav()->currentItem->background().color(), Current);
    for (int row = 0; row < 2; ++row)
        if (nav()->treeRoot->child(row) != nav()->currentItem)
            QCOMPARE(nav()->treeRoot->child(row)->background().color(), Other);
    QCOMPARE(g_invType, label.section(QLatin1Char(' '), 1));
    QCOMPARE(m_fix.window()->typeValueLabel->text(), label.section(QLatin1Char(' '), 1));
    QCOMPARE(int(g_station), label.mid(3, 3).toInt());
    QCOMPARE(g_currentStationIndex, QPersistentModelIndex(nav()->currentItem->index()));
    QVERIFY(m_fix.window()->parameterForm->isVisible());
    // Neither station has passed the connection test.
    QVERIFY(g_offLine);
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));
    QVERIFY(!nav()->modeThread->isRunning());
}

void tst_Navigation::selectingATestedStationGoesOnLine()
{
    // Loading the table for a tested station reads the drive, so one answers at station 7.
    QVERIFY(m_fix.startLine(2, QStringLiteral("station 7")));
    addStations(m_fix, QStringLiteral("7:VM3-023:7.5K;3:VR3-043:3.7K"));
    nav()->stationTested[7] = 1;
    g_invType.clear(); // no drive type: the poller sends nothing
    m_fix.selectStation(1);
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("On-Line"));
    QVERIFY(!g_offLine);
    QVERIFY(nav()->modeState.onLine());
    QVERIFY(nav()->modeThread->isRunning());

    // Choosing the other one stops the poller and waits for it before the station changes.
    m_fix.selectStation(0);
    QVERIFY(nav()->modeThread->isFinished());
    QCOMPARE(g_cuModeResult.load(), -1);
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));
    QCOMPARE(int(g_station), 3);
}

// The drive of station 1 holds P.189 = 1 (50 Hz defaults). Station 2, added by hand and not yet
// tested, is loaded without asking any drive; choosing station 1 again reads its drive again.
void tst_Navigation::eachStationLoadsItsOwnSelectors()
{
    g_driveLookupEnabled = true;
    // A drive set to the 50 Hz system, unlike the table's own selector.
    QVERIFY(m_fix.startLine(2, QStringLiteral("set 189 1")));
    CParameter *form = m_fix.window()->parameterForm;
    auto baseFrequency = [form] {
        for (int r = 0; r < form->PartableWidget->rowCount(); ++r) {
            if (form->cellText(r, 1).remove(' ') == QLatin1String("P.3"))
                return form->cellText(r, 8);
        }
        return QString();
    };
    m_fix.addTestedStation(2);
    g_currentStationIndex = QModelIndex();
    m_fix.selectStation(0);
    QCOMPARE(baseFrequency(), QStringLiteral("50.00"));

    nav()->stopModePolling(false); // station 1 stays on line
    const int asked = m_fix.received().size();
    m_fix.addStation(2, QStringLiteral("VM3-023"), QStringLiteral("7.5K"));
    QCOMPARE(m_fix.received().size(), asked);
    QCOMPARE(baseFrequency(), QStringLiteral("60.00"));

    m_fix.selectStation(0);
    QCOMPARE(int(g_station), 1);
    QCOMPARE(baseFrequency(), QStringLiteral("50.00"));
    QVERIFY(g_driveLookupEnabled);
}

// Station 1's drive was identified as model 1 of series A, which has files of its own; station 2 is
// entered by hand. Each selection loads the files of the station's own model.
void tst_Navigation::eachStationLoadsItsOwnModel()
{
    QVERIFY(m_fix.startLine(0));
    m_fix.addTestedStation(0);
    nav()->stationModelCodes[1] = QStringLiteral("1"); // as the search's identification leaves it
    m_fix.addStation(2, QStringLiteral("VM3-023"), QStringLiteral("7.5K"));
    QCOMPARE(g_modelCode, QStringLiteral("0"));
    nav()->stopModePolling();

    m_fix.selectStation(0);
    QCOMPARE(int(g_station), 1);
    QCOMPARE(g_modelCode, QStringLiteral("1"));
    m_fix.selectStation(1);
    QCOMPARE(g_modelCode, QStringLiteral("0"));
}

void tst_Navigation::editDialogIsPresetFromTheEntry()
{
    addStations(m_fix, QStringLiteral("7:VP/VP-G-220V:0.75K-G;3:VR3-043:3.7K"));
    int spin = -1;
    QString type, power;
    m_fix.watch([&](QWidget *modal) {
        auto *dialog = qobject_cast<CSetType *>(modal);
        spin = dialog->StationSpinBox->value();
        type = dialog->InvTypecomboBox->currentText();
        power = dialog->InvVolcomboBox->currentText();
        dialog->reject();
    });
    m_fix.clickItem(m_fix.stationIndex(1));
    m_fix.clickItem(m_fix.stationIndex(1));
    QTRY_COMPARE(spin, 7);
    QCOMPARE(type, QStringLiteral("VP/VP-G-220V"));
    QCOMPARE(power, QStringLiteral("0.75K"));
    // Cancelled: nothing changed.
    QCOMPARE(m_fix.stationTexts(), (QStringList { "NO.003 VR3-043-3.7K", "NO.007 VP-220V-0.75K-G" }));
}

void tst_Navigation::editing_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("number"); // -1: as preset
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("power");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("boxes");
    const QString two = QStringLiteral("7:VP/VP-G-220V:0.75K-G;3:VR3-043:3.7K");
    QTest::newRow("g_station_unchanged")
        << two << 1 << -1 << "" << "" << QStringList { "NO.003 VR3-043-3.7K", "NO.007 VP-220V-0.75K-G" }
        << "NO.007 VP-220V-0.75K-G" << QStringList();
    QTest::newRow("gt_station_unchanged")
        << "9:VP-GT-440V:2.2K" << 0 << -1 << "" << "" << QStringList { "NO.009 VP-440V-2.2K-GT" }
        << "NO.009 VP-440V-2.2K-GT" << QStringList();
    QTest::newRow("new_number_and_type")
        << two << 1 << 12 << "VR3-L-440V" << "2.2K" << QStringList { "NO.003 VR3-043-3.7K", "NO.012 VR3-440V-2.2K-L" }
        << "NO.012 VR3-440V-2.2K-L" << QStringList();
    QTest::newRow("moves_before_the_other")
        << two << 1 << 1 << "" << "" << QStringList { "NO.001 VP-220V-0.75K-G", "NO.003 VR3-043-3.7K" }
        << "NO.001 VP-220V-0.75K-G" << QStringList();
    QTest::newRow("number_in_use")
        << two << 1 << 3 << "" << "" << QStringList { "NO.003 VR3-043-3.7K", "NO.007 VP-220V-0.75K-G" }
        << "NO.003 VR3-043-3.7K" << QStringList { "The station number has been used!" };
    QTest::newRow("number_of_the_station_on_line") // "*": on line in CU, its poller running
        << "7:VP/VP-G-220V:0.75K-G;*3:VR3-043:3.7K" << 1 << 3 << "" << "" << QStringList { "NO.003 VR3-043-3.7K", "NO.007 VP-220V-0.75K-G" }
        << "NO.003 VR3-043-3.7K" << QStringList { "The station number has been used!" };
    QTest::newRow("number_255")
        << two << 1 << 255 << "" << "" << QStringList { "NO.003 VR3-043-3.7K", "NO.007 VP-220V-0.75K-G" }
        << "NO.003 VR3-043-3.7K" << QStringList { "The station number must be from 0 to 254!" };
    QTest::newRow("none_removes_it")
        << two << 1 << -1 << "None" << "" << QStringList { "NO.003 VR3-043-3.7K" } << "NO.003 VR3-043-3.7K"
        << QStringList();
    QTest::newRow("none_removes_the_last") << "9:VP-GT-440V:2.2K" << 0 << -1 << "None"
                                           << "" << QStringList() << "---" << QStringList();
}

void tst_Navigation::editing()
{
    QFETCH(QString, existing);
    QFETCH(int, row);
    QFETCH(int, number);
    QFETCH(QString, type);
    QFETCH(QString, power);
    QFETCH(QStringList, texts);
    QFETCH(QString, label);
    QFETCH(QStringList, boxes);
    const bool onLine = existing.contains(QLatin1Char('*'));
    addStations(m_fix, QString(existing).remove(QLatin1Char('*')));
    nav()->stationTested[7] = 1;
    nav()->stationTested[9] = 1;
    if (onLine) {
        QVERIFY(m_fix.startLine(0, QStringLiteral("station 3")));
        nav()->stationTested[3] = 1;
        m_fix.selectStation(0);
        QTRY_COMPARE_WITH_TIMEOUT(m_fix.window()->modeValueLabel->text(), QStringLiteral("CU"), 3000);
    }
    const QString editedText = nav()->treeRoot->child(row)->text();
    const int oldNumber = editedText.mid(3, 3).toInt();
    const bool refused = !boxes.isEmpty();

    m_fix.watch([=](QWidget *modal) { NavFixture::fillStationDialog(modal, number, type, power); });
    m_fix.clickItem(m_fix.stationIndex(row));
    m_fix.clickItem(m_fix.stationIndex(row));
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr && m_fix.boxes().size() == boxes.size());

    QCOMPARE(m_fix.boxTexts(), boxes);
    QCOMPARE(m_fix.stationTexts(), texts);
    QCOMPARE(nav()->PotLabel->text(), QStringLiteral("Select station: ") + label);
    if (refused) {
        QCOMPARE(nav()->stationTypes.at(oldNumber), editedText.section(QLatin1Char(' '), 1));
        if (onLine) // nothing changed
            QVERIFY(!g_offLine && nav()->modeThread->isRunning() && lampStates(nav()) == "10000"
                    && m_fix.window()->connectButton->text() == "On-Line");
        return;
    }
    // The edited station is untested again, under whatever number it has now.
    QCOMPARE(nav()->stationTested[oldNumber], 0);
    QVERIFY(g_offLine);
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));
    for (const QString &text : texts) {
        const int n = text.mid(3, 3).toInt();
        QCOMPARE(nav()->stationTypes.at(n), text.section(QLatin1Char(' '), 1));
    }
    if (!texts.contains(editedText) && type != QLatin1String("None"))
        QCOMPARE(nav()->stationTypes.at(oldNumber), QString());
    if (texts.isEmpty()) {
        QVERIFY(!nav()->currentItem);
        QCOMPARE(m_fix.window()->typeValueLabel->text(), QString());
        QCOMPARE(g_seriesLetter.load(), '0');
        QVERIFY(!m_fix.window()->parameterButton->isEnabled());
        QVERIFY(!m_fix.window()->parameterForm->isVisible());
        return;
    }
    QCOMPARE(nav()->currentItem->text(), label);
    QCOMPARE(nav()->currentItem->background().color(), Current);
    QCOMPARE(g_invType, label.section(QLatin1Char(' '), 1));
    QCOMPARE(int(g_station), label.mid(3, 3).toInt());
    QVERIFY(m_fix.window()->parameterForm->isVisible());
}

void tst_Navigation::deleting_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<int>("tested"); // station marked as tested, -1 none
    QTest::addColumn<bool>("current");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("empty_tree") << "" << -1 << false << QStringList() << "---" << QStringList();
    QTest::newRow("nothing_current") << "5:VM3-023:7.5K" << -1 << false << QStringList { "NO.005 VM3-023-7.5K" }
                                     << "---" << QStringList { "Please select the branch first !" };
    QTest::newRow("first_left_becomes_current_untested")
        << "5:VM3-023:7.5K;9:VS5-043:0.75K" << -1 << true << QStringList { "NO.005 VM3-023-7.5K" }
        << "NO.005 VM3-023-7.5K" << QStringList();
    QTest::newRow("first_left_becomes_current_tested")
        << "5:VM3-023:7.5K;9:VS5-043:0.75K" << 5 << true << QStringList { "NO.005 VM3-023-7.5K" }
        << "NO.005 VM3-023-7.5K" << QStringList();
    QTest::newRow("last_one") << "5:VM3-023:7.5K" << -1 << true << QStringList() << "---" << QStringList();
}

void tst_Navigation::deleting()
{
    QFETCH(QString, existing);
    QFETCH(int, tested);
    QFETCH(bool, current);
    QFETCH(QStringList, texts);
    QFETCH(QString, label);
    QFETCH(QStringList, boxes);
    addStations(m_fix, existing);
    if (!current && nav()->treeRoot->rowCount() > 0) {
        // A station entered by an opened document is in the tree without being current.
        nav()->currentItem = nullptr;
        nav()->PotLabel->setText(QStringLiteral("Select station: ---"));
    }
    if (tested >= 0) {
        // The table loaded for a tested station reads the drive, so one answers there.
        QVERIFY(m_fix.startLine(2, QStringLiteral("station %1").arg(tested)));
        nav()->stationTested[tested] = 1;
    }
    // The last poll of the station deleted showed it on line in CU.
    nav()->CUstatusLabel->setStyleSheet(QStringLiteral("background-color: rgb(255, 0, 0);"));
    m_fix.window()->modeValueLabel->setText(QStringLiteral("CU"));
    m_fix.window()->setConnectionState(true);

    m_fix.watch();
    QTest::mouseClick(nav()->delete_atation, Qt::LeftButton);

    QCOMPARE(m_fix.boxTexts(), boxes);
    for (const Box &box : m_fix.boxes())
        QCOMPARE(box.title, QStringLiteral("Warning"));
    QCOMPARE(m_fix.stationTexts(), texts);
    QCOMPARE(nav()->PotLabel->text(), QStringLiteral("Select station: ") + label);
    if (!boxes.isEmpty() || existing.isEmpty())
        return;
    // A tested station left current is painted from its own next poll.
    QCOMPARE(lampStates(nav()), QStringLiteral("00000"));
    QCOMPARE(m_fix.window()->modeValueLabel->text(), QString());
    QCOMPARE(m_fix.window()->connectButton->text(), tested == 5 ? QStringLiteral("On-Line") : QStringLiteral("Off-Line"));
    QCOMPARE(nav()->modeThread->isRunning(), tested == 5);
    if (texts.isEmpty()) {
        QVERIFY(!nav()->currentItem);
        QCOMPARE(m_fix.window()->typeValueLabel->text(), QString());
        QCOMPARE(g_seriesLetter.load(), '0');
        QVERIFY(!m_fix.window()->monitorButton->isEnabled());
        QVERIFY(!m_fix.window()->parameterForm->isVisible());
        QVERIFY(iconShows(m_fix.window()->connectButton->icon(), QStringLiteral(":/new prefix/images/unconnect.png")));
        return;
    }
    QCOMPARE(nav()->currentItem, nav()->treeRoot->child(0));
    QCOMPARE(nav()->currentItem->background().color(), Current);
    QCOMPARE(nav()->stationTypes.at(9), QString());
    QCOMPARE(g_invType, QStringLiteral("VM3-023-7.5K"));
    QCOMPARE(int(g_station), 5);
    QCOMPARE(bool(g_offLine), tested != 5);
    QVERIFY(iconShows(m_fix.window()->connectButton->icon(), tested == 5
                                                               ? QStringLiteral(":/new prefix/images/connect.png")
                                                               : QStringLiteral(":/new prefix/images/unconnect.png")));
    QVERIFY(m_fix.window()->parameterForm->isVisible());
}

namespace {
// A translation whose station prefix is of another length than the English one.
class LongerTranslator : public QTranslator {
public:
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, "CNavigation") != 0)
            return QString();
        if (qstrcmp(source, "Select station: ") == 0)
            return QStringLiteral("Aktuelle Station gewählt: ");
        if (qstrcmp(source, "System setting") == 0)
            return QStringLiteral("Anlage");
        return QString();
    }
    bool isEmpty() const override { return false; }
};
} // namespace

void tst_Navigation::languageSwitchRebuildsTheLabel()
{
    addStations(m_fix, QStringLiteral("7:VM3-023:7.5K;3:VR3-043:3.7K"));
    const QString on = QStringLiteral("background-color: rgb(255, 0, 0);");
    nav()->CUstatusLabel->setStyleSheet(on);
    nav()->FWDStatusLabel->setStyleSheet(on);

    LongerTranslator translator;
    QCoreApplication::installTranslator(&translator);
    nav()->changeLanguage();
    QCOMPARE(nav()->PotLabel->text(), QStringLiteral("Aktuelle Station gewählt: NO.003 VR3-043-3.7K"));
    QCOMPARE(nav()->treeRoot->text(), QStringLiteral("Anlage"));
    QCOMPARE(nav()->SysSettabWidget->tabText(0), QStringLiteral("Anlage"));
    QCOMPARE(lampStates(nav()), QStringLiteral("10001"));
    // Station entries keep their texts.
    QCOMPARE(m_fix.stationTexts(), (QStringList { "NO.003 VR3-043-3.7K", "NO.007 VM3-023-7.5K" }));

    QCoreApplication::removeTranslator(&translator);
    nav()->changeLanguage();
    QCOMPARE(nav()->PotLabel->text(), QStringLiteral("Select station: NO.003 VR3-043-3.7K"));
    QCOMPARE(lampStates(nav()), QStringLiteral("10001"));

    m_fix.watch();
    QTest::mouseClick(nav()->delete_atation, Qt::LeftButton);
    QTest::mouseClick(nav()->delete_atation, Qt::LeftButton);
    nav()->changeLanguage();
    QCOMPARE(nav()->PotLabel->text(), QStringLiteral("Select station: ---"));
}

void tst_Navigation::unreadableTypeListIsReported()
{
    const QString path = g_appDir + QStringLiteral("ParameterInforamtion/InvType/InvType.txt");
    QVERIFY(QFile::remove(path));
    m_fix.addStation(4, QStringLiteral("VM3-023"), QStringLiteral("7.5K"));
    const QList<Box> boxes = m_fix.boxes();
    QVERIFY(!boxes.isEmpty());
    QCOMPARE(boxes.first().title, QStringLiteral("Warning"));
    QVERIFY2(boxes.first().text.startsWith(QStringLiteral("Cannot read file ") + path + QStringLiteral(":\n")),
             qPrintable(boxes.first().text));
    // The entry is made all the same; the series stays unknown.
    QCOMPARE(m_fix.stationTexts(), QStringList { "NO.004 VM3-023-7.5K" });
    QCOMPARE(g_seriesLetter.load(), '0');
}

// The buttons' black text sits on this picture: a picture rendered dark hides every label.
void tst_Navigation::commandButtonsAreLight()
{
    initShellResources();
    const QImage silver(QStringLiteral(":/new prefix/images/button_silver.bmp"));
    QVERIFY(!silver.isNull());
    QCOMPARE(silver.size(), QSize(120, 40));
    qint64 sum = 0;
    for (int y = 0; y < silver.height(); ++y)
        for (int x = 0; x < silver.width(); ++x)
            sum += qGray(silver.pixel(x, y));
    QVERIFY2(sum / (silver.width() * silver.height()) > 180, "the button picture is too dark for black text");
}

QTEST_MAIN(tst_Navigation)
#include "tst_navigation.moc"
