// The station and drive-type dialog: what it reads from InvType.mgr, the rating list that follows
// the chosen type, and the station box's range.

#include "comm/globals.h"
#include "connection/settype.h"
#include "markingtranslator.h"
#include "shell/appglobals.h"
#include "userinput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray Standard = "[inv_Type]\n"
                            "TYPE=VR3-043,VM3-043,VX-G-020\n"
                            "\n"
                            "[PW_ID]\n"
                            "POWER=0.4K,0.75K,1.5K\n"
                            "POWER_OLD=0.4,0.75\n"
                            "[VR3-043]\n"
                            "POWER=0.75K,1.5K,2.2K\n"
                            "[VM3-043]\n"
                            "TYPE=1.5K\n"
                            "[VX-G-020]\n"
                            "POWER=0.4K-G\n"
                            " [VR3-043]\n"
                            "POWER=9K\n"
                            "[VX-G-020]\n"
                            "POWER=0.75K-G,,1.5K-G\n";

} // namespace

class TestSetType : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void readsTheFile_data();
    void readsTheFile();
    void ratingsFollowTheChosenType_data();
    void ratingsFollowTheChosenType();
    void choosingTheCurrentTypeKeepsTheRatings();
    void stationBoxStopsAt254();
    void buttonsAndLanguage();

private:
    void writeMgr(const QByteArray &contents);
    QTemporaryDir m_dir;
};

void TestSetType::writeMgr(const QByteArray &contents)
{
    QFile file(m_dir.path() + "/ParameterInforamtion/InvType/InvType.mgr");
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

void TestSetType::initTestCase()
{
    QVERIFY(QDir(m_dir.path()).mkpath("ParameterInforamtion/InvType"));
    g_appDir = m_dir.path() + '/';
}

void TestSetType::init()
{
    g_powerList.clear();
    g_powerOldList.clear();
    writeMgr(Standard);
}

void TestSetType::readsTheFile_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QStringList>("power");
    QTest::addColumn<QStringList>("powerOld");

    QTest::newRow("standard") << Standard << QStringList { "None", "VR3-043", "VM3-043", "VX-G-020" }
                              << QStringList { "0.4K", "0.75K", "1.5K" } << QStringList { "0.4", "0.75" };
    QTest::newRow("blank lines and spaces before the header")
        << QByteArray("\r\n  \n\t[inv_Type]\r\nTYPE=a\r\n\r\n[PW_ID]\r\nPOWER=1K\r\nPOWER_OLD=2K\r\n")
        << QStringList { "None", "a" } << QStringList { "1K" } << QStringList { "2K" };
    QTest::newRow("empty values are dropped")
        << QByteArray("[inv_Type]\nTYPE=a,,b\n\n[PW_ID]\nPOWER=,1K,\nPOWER_OLD=\n") << QStringList { "None", "a", "b" }
        << QStringList { "1K" } << QStringList {};
    QTest::newRow("TYPE without values") << QByteArray("[inv_Type]\nTYPE=\n\n[PW_ID]\nPOWER=1K\nPOWER_OLD=2K\n")
                                         << QStringList { "None" } << QStringList { "1K" } << QStringList { "2K" };
    QTest::newRow("no separating line")
        << QByteArray("[inv_Type]\nTYPE=a\n[PW_ID]\nPOWER=1K\nPOWER_OLD=2K\n") << QStringList { "None", "a" }
        << QStringList {} << QStringList {};
    QTest::newRow("no type header: the ratings header moves up one line")
        << QByteArray("[other]\nTYPE=a\n[PW_ID]\nPOWER=1K\nPOWER_OLD=2K\n")
                                    << QStringList { "None" } << QStringList { "1K" } << QStringList { "2K" };
    QTest::newRow("keys are case-sensitive")
        << QByteArray("[inv_type]\n\n[PW_ID]\npower=1K\nPOWER_OLD=2K\n") << QStringList { "None" }
        << QStringList {} << QStringList { "2K" };
    QTest::newRow("missing file") << QByteArray() << QStringList { "None" } << QStringList {} << QStringList {};
}

void TestSetType::readsTheFile()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, types);
    QFETCH(QStringList, power);
    QFETCH(QStringList, powerOld);

    if (contents.isEmpty())
        QFile::remove(m_dir.path() + "/ParameterInforamtion/InvType/InvType.mgr");
    else
        writeMgr(contents);
    CSetType dialog;
    QCOMPARE(comboItems(dialog.InvTypecomboBox), types);
    QCOMPARE(dialog.InvTypecomboBox->currentIndex(), 0);
    QVERIFY(!dialog.InvVolcomboBox->isEnabled());
    QCOMPARE(dialog.InvVolcomboBox->count(), 0);
    QCOMPARE(QStringList(g_powerList.toList()), power);
    QCOMPARE(QStringList(g_powerOldList.toList()), powerOld);
}

void TestSetType::ratingsFollowTheChosenType_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QStringList>("ratings");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("a type") << QStringList { "VR3-043" } << QStringList { "0.75K", "1.5K", "2.2K" } << true;
    QTest::newRow("header with a leading space is no header")
        << QStringList { "VR3-043" } << QStringList { "0.75K", "1.5K", "2.2K" } << true;
    QTest::newRow("a type found twice offers both sections")
        << QStringList { "VX-G-020" } << QStringList { "0.4K-G", "0.75K-G", "1.5K-G" } << true;
    QTest::newRow("section without POWER offers nothing, still enabled")
        << QStringList { "VM3-043" } << QStringList {} << true;
    QTest::newRow("None empties and disables") << QStringList { "VR3-043", "None" } << QStringList {} << false;
    QTest::newRow("changing type replaces the ratings")
        << QStringList { "VX-G-020", "VR3-043" } << QStringList { "0.75K", "1.5K", "2.2K" } << true;
}

void TestSetType::ratingsFollowTheChosenType()
{
    QFETCH(QStringList, choices);
    QFETCH(QStringList, ratings);
    QFETCH(bool, enabled);

    CSetType dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (const QString &choice : choices)
        QVERIFY(chooseComboText(dialog.InvTypecomboBox, choice));
    QCOMPARE(comboItems(dialog.InvVolcomboBox), ratings);
    QCOMPARE(dialog.InvVolcomboBox->isEnabled(), enabled);
    QCOMPARE(dialog.InvVolcomboBox->currentIndex(), ratings.isEmpty() ? -1 : 0);
}

void TestSetType::choosingTheCurrentTypeKeepsTheRatings()
{
    CSetType dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(chooseComboText(dialog.InvTypecomboBox, "VR3-043"));
    // A rating the file no longer offers stays: the list is only read again on a change of type.
    writeMgr("[inv_Type]\nTYPE=VR3-043\n");
    QVERIFY(chooseComboText(dialog.InvTypecomboBox, "VR3-043"));
    QCOMPARE(dialog.InvVolcomboBox->count(), 3);
    // An unreadable file at a change of type leaves an empty, enabled list.
    QFile::remove(m_dir.path() + "/ParameterInforamtion/InvType/InvType.mgr");
    QVERIFY(chooseComboText(dialog.InvTypecomboBox, "VM3-043"));
    QCOMPARE(dialog.InvVolcomboBox->count(), 0);
    QVERIFY(dialog.InvVolcomboBox->isEnabled());
}

void TestSetType::stationBoxStopsAt254()
{
    CSetType dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.StationSpinBox->value(), 0);
    dialog.StationSpinBox->setFocus();
    dialog.StationSpinBox->selectAll();
    QTest::keyClicks(dialog.StationSpinBox, "255");
    QTest::keyClick(dialog.StationSpinBox, Qt::Key_Enter);
    QVERIFY(dialog.StationSpinBox->value() <= 254);
    dialog.StationSpinBox->selectAll();
    QTest::keyClicks(dialog.StationSpinBox, "254");
    QCOMPARE(dialog.StationSpinBox->value(), 254);
    QTest::keyClick(dialog.StationSpinBox, Qt::Key_Up);
    QCOMPARE(dialog.StationSpinBox->value(), 254);
}

void TestSetType::buttonsAndLanguage()
{
    CSetType dialog;
    QCOMPARE(dialog.windowTitle(), QString("Inverter Type setting"));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    QVERIFY(dialog.isWindow());

    onNextModal([&](QWidget *) { QTest::mouseClick(dialog.SetTypeOK, Qt::LeftButton); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    onNextModal([&](QWidget *) { QTest::mouseClick(dialog.SetTypeCancelPB, Qt::LeftButton); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    onNextModal([&](QWidget *modal) { modal->close(); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));

    MarkingTranslator marker({ "SetTypeDialog", "CSetType" });
    qApp->installTranslator(&marker);
    dialog.initTexts();
    qApp->removeTranslator(&marker);
    QCOMPARE(dialog.windowTitle(), QString("<Inverter Type setting>"));
    QCOMPARE(dialog.StationLabel->text(), QString("<Station:>"));
    QCOMPARE(dialog.InvVolLabel->text(), QString("<Power:>"));
    QCOMPARE(dialog.SetTypeOK->text(), QString("<Ok>"));
    QCOMPARE(dialog.InvTypecomboBox->itemText(0), QString("None"));
}

QTEST_MAIN(TestSetType)
#include "tst_settype.moc"
