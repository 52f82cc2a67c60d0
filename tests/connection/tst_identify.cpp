// Drive identification over the two drive-type files, against a scripted drive: which reads answer
// decides the type text, and every way to "---".

#include "comm/globals.h"
#include "connection/identify.h"
#include "shell/appglobals.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char *const TypeList = "D//VM3//3.10//400//1//7//021-0//023-1//043-2\n"
                             "A//VR3//2.00//520//1//13//021-1//023-1//043-2\n"
                             "M//VR3-L//2.10//510//1//13//021-1//023-1//043-2\n"
                             "G//VP/VP-G//1.00//300//0//21//021-1//020-5//040-5\n"
                             "X//VM2//1.00//250//0//9//021-1//023\n";

const char *const TypeFile = "\n  [inv_Type]\n"
                             "TYPE=VM3-043,VR3-L-043,VP/VP-G-020\n"
                             "\n"
                             "[PW_ID]\n"
                             "POWER=0.4K,0.75K,1.5K,2.2K,3.7K\n"
                             "POWER_OLD=0.4,0.75,1.5,2.2,3.7\n"
                             "[VM3-043]\n"
                             "POWER=0.4K,0.75K,1.5K,2.2K,3.7K,5.5K/7.5K\n"
                             "[VM3-023]\n"
                             "TYPE=nothing\n"
                             "[VR3-043]\n"
                             "POWER=0.75K,1.5K,2.2K\n"
                             "[VR3-L-043]\n"
                             "POWER=0.75K,1.5K,2.2K\n"
                             "[VP/VP-G-020]\n"
                             "POWER=0.4K-G,0.75K-G,1.5K-G\n"
                             "[VM2-021]\n"
                             "POWER=0.2K,0.4K\n";

// A drive that answers the listed parameters and reports the given type code.
struct ScriptedDrive {
    QMap<int, double> answers;
    int typeCode = -1;
    QList<int> asked;

    DriveReads reads()
    {
        return DriveReads {
            [this](int number, double) {
                asked << number;
                return answers.value(number, -1.0);
            },
            [this]() { return typeCode; },
            {},
        };
    }
};

using Answers = QMap<int, double>;

} // namespace

class TestIdentify : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void byTypeCode_data();
    void byTypeCode();
    void byProbing_data();
    void byProbing();
    void probesAreMadeInOrder();
    void missingTypeListIsReported();
    void composition_data();
    void composition();
    void pictureNames_data();
    void pictureNames();

private:
    void writeFile(const QString &name, const QByteArray &contents);
    QTemporaryDir m_dir;
};

void TestIdentify::writeFile(const QString &name, const QByteArray &contents)
{
    QFile file(m_dir.path() + "/ParameterInforamtion/InvType/" + name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

void TestIdentify::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath("ParameterInforamtion/InvType"));
    g_appDir = m_dir.path() + '/';
}

void TestIdentify::init()
{
    writeFile("InvType.txt", TypeList);
    writeFile("InvType.mgr", TypeFile);
    g_seriesLetter = '0';
    g_modelName.clear();
    g_modelCode.clear();
}

void TestIdentify::byTypeCode_data()
{
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<int>("typeCode");
    QTest::addColumn<QString>("type");
    QTest::addColumn<char>("letter");
    QTest::addColumn<QString>("modelCode");

    QTest::newRow("class 3, index 5 less offset 2") << Answers { { 90, 305 } } << 7 << "VM3-043-1.5K" << 'D' << "0";
    QTest::newRow("dual rating") << Answers { { 90, 308 } } << 7 << "VM3-043-5.5K/7.5K" << 'D' << "0";
    QTest::newRow("no section names the type") << Answers { { 90, 103 }, { 186, 1 } } << 13 << "VR3-021" << 'A' << "0";
    QTest::newRow("section without a POWER line") << Answers { { 90, 203 } } << 7 << "---" << 'D' << "0";
    QTest::newRow("index 0 after the offset") << Answers { { 90, 302 } } << 7 << "---" << 'D' << "0";
    QTest::newRow("index beyond the ratings") << Answers { { 90, 309 } } << 7 << "---" << 'D' << "0";
    QTest::newRow("class 12 has no voltage cell") << Answers { { 90, 1203 } } << 7 << "---" << 'D' << "1";
    QTest::newRow("class 0") << Answers { { 90, 5 } } << 7 << "---" << 'D' << "0";
    QTest::newRow("voltage cell without offset") << Answers { { 90, 203 } } << 9 << "---" << 'X' << "0";
    QTest::newRow("P.90 unreadable") << Answers {} << 7 << "---" << '0' << "0";
    QTest::newRow("type code 0") << Answers { { 90, 305 } } << 0 << "---" << '0' << "0";
    QTest::newRow("type code nobody lists") << Answers { { 90, 305 } } << 55 << "---" << '0' << "0";
    QTest::newRow("code 13 answering P.186 is series A")
        << Answers { { 90, 304 }, { 186, 1 } } << 13 << "VR3-043-1.5K" << 'A' << "0";
    QTest::newRow("code 13 silent on P.186 skips series A")
        << Answers { { 90, 304 } } << 13 << "VR3-L-043-1.5K" << 'M' << "0";
    QTest::newRow("G series drops -G from the rating")
        << Answers { { 90, 207 } } << 21 << "VP-G-020-0.75K" << 'G' << "0";
    QTest::newRow("model code 1 in the type list") << Answers { { 90, 1305 } } << 7 << "---" << 'D' << "1";
}

void TestIdentify::byTypeCode()
{
    QFETCH(Answers, answers);
    QFETCH(int, typeCode);
    QFETCH(QString, type);
    QFETCH(char, letter);
    QFETCH(QString, modelCode);

    ScriptedDrive drive { answers, typeCode, {} };
    QCOMPARE(identifyDrive(drive.reads()), type);
    QCOMPARE(g_seriesLetter.load(), letter);
    QCOMPARE(g_modelCode, modelCode);
}

void TestIdentify::byProbing_data()
{
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QString>("type");
    QTest::addColumn<char>("letter");
    QTest::addColumn<QString>("model");

    // P.90 = 305: 400 V class, capacity index 5 before the series' offset.
    const double p90 = 305;
    QTest::newRow("VM3 answers 990, 500, 991")
        << Answers { { 90, p90 }, { 990, 1 }, { 500, 1 }, { 991, 1 } } << "VM3-043-2.2K" << 'D' << "VM3";
    QTest::newRow("nothing answers 990, 500, 300") << Answers { { 90, p90 } } << "---" << '0' << "";
    QTest::newRow("VP-GT answers 500 only")
        << Answers { { 90, p90 }, { 500, 1 } } << "VP-GT-040" << 'L' << "VP-GT";
    QTest::newRow("VM2 answers 300 and 125")
        << Answers { { 90, 103 }, { 300, 1 }, { 125, 1 } } << "VM2-021-0.4K" << 'X' << "VM2";
    QTest::newRow("VP/VP-G answers 300 and 350")
        << Answers { { 90, 207 }, { 300, 1 }, { 350, 1 } } << "VP-G-020-0.75K" << 'G' << "VP/VP-G";
    QTest::newRow("VK2 answers 300 only") << Answers { { 90, p90 }, { 300, 1 } } << "VK2-043" << 'T' << "VK2";
    QTest::newRow("ZR3 answers 990 and 76")
        << Answers { { 90, p90 }, { 990, 1 }, { 76, 1 } } << "ZR3-043" << 'K' << "ZR3";
    QTest::newRow("VT3 in the 200 V class keeps its index")
        << Answers { { 90, 205 }, { 990, 1 } } << "VT3-023" << 'Y' << "VT3";
    QTest::newRow("VR3-L is silent on 186")
        << Answers { { 90, p90 }, { 990, 1 }, { 500, 1 } } << "VR3-L-043-2.2K" << 'M' << "VR3-L";
    QTest::newRow("VR3 answers 186 and 584")
        << Answers { { 90, 304 }, { 990, 1 }, { 500, 1 }, { 186, 1 }, { 584, 1 } } << "VR3-043-1.5K" << 'A' << "VR3";
    QTest::newRow("VP3 answers 186, not 584")
        << Answers { { 90, p90 }, { 990, 1 }, { 500, 1 }, { 186, 1 } } << "VP3-043" << 'I' << "VP3";
    QTest::newRow("class 4 has no voltage text")
        << Answers { { 90, 405 }, { 990, 1 }, { 500, 1 }, { 991, 1 } } << "VM3----" << 'D' << "VM3";
}

void TestIdentify::byProbing()
{
    QFETCH(Answers, answers);
    QFETCH(QString, type);
    QFETCH(char, letter);
    QFETCH(QString, model);

    ScriptedDrive drive { answers, -1, {} };
    QCOMPARE(identifyDrive(drive.reads()), type);
    QCOMPARE(g_seriesLetter.load(), letter);
    QCOMPARE(g_modelName, model);
}

void TestIdentify::probesAreMadeInOrder()
{
    ScriptedDrive drive { Answers { { 90, 305 }, { 990, 1 }, { 186, 1 } }, -1, {} };
    QCOMPARE(identifyDrive(drive.reads()), QString("VT3-043"));
    QCOMPARE(drive.asked, (QList<int> { 90, 990, 500, 76 }));

    ScriptedDrive vp3 { Answers { { 90, 305 }, { 990, 1 }, { 500, 1 }, { 186, 1 } }, -1, {} };
    identifyDrive(vp3.reads());
    QCOMPARE(vp3.asked, (QList<int> { 90, 990, 500, 991, 186, 584 }));
}

void TestIdentify::missingTypeListIsReported()
{
    QFile::remove(m_dir.path() + "/ParameterInforamtion/InvType/InvType.txt");
    QString reported;
    ScriptedDrive drive { Answers { { 90, 305 } }, 7, {} };
    const QString answer = identifyDrive(drive.reads(), [&](const QString &file, const QString &) { reported = file; });
    QCOMPARE(answer, QString("---"));
    QVERIFY(reported.endsWith("ParameterInforamtion/InvType/InvType.txt"));
}

void TestIdentify::composition_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("capacity");
    QTest::addColumn<QString>("text");

    QTest::newRow("G series") << "VP/VP-G-020" << "0.75K-G" << "VP-G-020-0.75K";
    QTest::newRow("GT series") << "VP-GT-040" << "1.5K" << "VP-GT-040-1.5K";
    QTest::newRow("L variant") << "VR3-L-043" << "1.5K" << "VR3-L-043-1.5K";
    QTest::newRow("two parts") << "VM3-043" << "2.2K" << "VM3-043-2.2K";
    QTest::newRow("two parts, second with G") << "VP-G" << "0.75K-G" << "VP-G-0.75K-G";
    QTest::newRow("one part") << "VP" << "0.75K" << "VP-0.75K";
    QTest::newRow("empty type") << "" << "0.75K" << "-0.75K";
}

void TestIdentify::composition()
{
    QFETCH(QString, type);
    QFETCH(QString, capacity);
    QFETCH(QString, text);
    QCOMPARE(composeTypeText(type, capacity), text);
}

void TestIdentify::pictureNames_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("picture");
    QTest::newRow("plain") << "VM3-043-2.2K" << "VM3";
    QTest::newRow("G") << "VP-G-020-0.75K" << "VP-G";
    QTest::newRow("GT") << "VP-GT-040-1.5K" << "VP-GT";
    QTest::newRow("L stays with the series") << "VR3-L-043-1.5K" << "VR3";
}

void TestIdentify::pictureNames()
{
    QFETCH(QString, type);
    QFETCH(QString, picture);
    QCOMPARE(pictureName(type), picture);
}

QTEST_GUILESS_MAIN(TestIdentify)
#include "tst_identify.moc"
