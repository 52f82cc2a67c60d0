// Start-up: the program folder, documents named on the command line, the .tv association in the
// registry stand-in and on the desktop, and the state start-up leaves behind.

#include "comm/globals.h"
#include "monitor/monitorthread.h"
#include "platform/registry.h"
#include "pseudoterminal.h"
#include "shell/appglobals.h"
#include "shell/document.h"
#include "shell/startup.h"
#include "testfiles.h"
#include "useranswers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <zip.h>

namespace
{

const QString DocumentKey = QStringLiteral("HKEY_CLASSES_ROOT\\.tv");
const QString IconKey = QStringLiteral("HKEY_CLASSES_ROOT\\TavironINV\\DefaultIcon");
const QString CommandKey = QStringLiteral("HKEY_CLASSES_ROOT\\TavironINV\\shell\\open\\command");

} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void programFolder_data();
    void programFolder();
    void documentNames_data();
    void documentNames();
    void freshStartRegistersTheAssociationOnce();
    void foreignAssociationIsRewritten();
    void desktopEntryQuotesTheProgramPath();
    void startLeavesLogAndResetGlobals();
    void documentGivesOnlyItsStationFile_data();
    void documentGivesOnlyItsStationFile();

private:
    QString dataHome() const { return m_dataHome.path(); }
    void start(const QStringList &arguments);
    QTemporaryDir m_dataHome;
    QTemporaryDir m_appDir;
    QTemporaryDir m_documents;
    TemporaryRegistry *m_registry = nullptr;
};

void TestStartUp::initTestCase()
{
    QVERIFY(m_dataHome.isValid() && m_appDir.isValid() && m_documents.isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome()));
    // The desktop's database tools would run detached into folders this test removes.
    qputenv("PATH", "/nonexistent");
}

void TestStartUp::init()
{
    delete m_registry;
    m_registry = new TemporaryRegistry;
    QDir(dataHome()).removeRecursively();
    QDir().mkpath(dataHome());
    QFile::remove(m_appDir.path() + QStringLiteral("/Operation_log.txt"));
    QFile::remove(m_appDir.path() + QStringLiteral("/station.txt"));
}

void TestStartUp::start(const QStringList &arguments)
{
    runStartUpSteps(arguments, m_appDir.path() + QStringLiteral("/TavironINV"), m_appDir.path());
}

void TestStartUp::programFolder_data()
{
    QTest::addColumn<QString>("dirPath");
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain folder") << "/opt/tools/app"
                                  << "/opt/tools/app/";
    QTest::newRow("build folder release dropped") << "/opt/app/release"
                                                  << "/opt/app/";
    QTest::newRow("release inside a name kept") << "/opt/prereleased/app"
                                                << "/opt/prereleased/app/";
    QTest::newRow("release further up kept") << "/opt/release/app"
                                             << "/opt/release/app/";
    QTest::newRow("Release in capitals kept") << "/opt/app/Release"
                                              << "/opt/app/Release/";
    QTest::newRow("trailing slash") << "/opt/app/release/"
                                    << "/opt/app/";
    QTest::newRow("root") << "/"
                          << "/";
}

void TestStartUp::programFolder()
{
    QFETCH(QString, dirPath);
    QFETCH(QString, folder);
    QCOMPARE(applicationFolder(dirPath), folder);
}

void TestStartUp::documentNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("document");
    QTest::newRow("document") << "/home/u/site A.tv" << true;
    QTest::newRow("capitals") << "/home/u/site.TV" << false;
    QTest::newRow("folder holding .tv") << "/home/u/x.tv/settings.zip" << false;
    QTest::newRow("longer ending") << "/home/u/site.tvx" << false;
    QTest::newRow("empty") << "" << false;
}

void TestStartUp::documentNames()
{
    QFETCH(QString, name);
    QFETCH(bool, document);
    QCOMPARE(isDocumentName(name), document);
}

void TestStartUp::freshStartRegistersTheAssociationOnce()
{
    start({ QStringLiteral("./TavironINV") });
    QCOMPARE(Registry::value(DocumentKey, QString()).toString(), QStringLiteral("TavironINV"));
    QCOMPARE(Registry::value(IconKey, QString()).toString(), QStringLiteral("./TavironINV,0"));
    QCOMPARE(Registry::value(CommandKey, QString()).toString(), m_appDir.path() + QStringLiteral("/TavironINV %1"));

    const QString mimeFile = dataHome() + QStringLiteral("/mime/packages/TavironINV.xml");
    const QString desktopFile = dataHome() + QStringLiteral("/applications/TavironINV.desktop");
    QVERIFY(fileBytes(mimeFile).contains("<glob pattern=\"*.tv\" case-sensitive=\"true\"/>"));
    QVERIFY(fileBytes(desktopFile).contains("MimeType=application/x-tavironinv-document;\n"));

    const QByteArray registry = fileBytes(m_registry->filePath());
    const QDateTime registryTime = QFileInfo(m_registry->filePath()).lastModified();
    const QDateTime mimeTime = QFileInfo(mimeFile).lastModified();
    const QDateTime desktopTime = QFileInfo(desktopFile).lastModified();
    QTest::qWait(20);

    // A second start, also under another argv[0], finds the association in place and writes nothing.
    start({ QStringLiteral("/elsewhere/TavironINV") });
    QCOMPARE(fileBytes(m_registry->filePath()), registry);
    QCOMPARE(QFileInfo(m_registry->filePath()).lastModified(), registryTime);
    QCOMPARE(QFileInfo(mimeFile).lastModified(), mimeTime);
    QCOMPARE(QFileInfo(desktopFile).lastModified(), desktopTime);
    QCOMPARE(Registry::value(IconKey, QString()).toString(), QStringLiteral("./TavironINV,0"));
}

void TestStartUp::foreignAssociationIsRewritten()
{
    Registry::setValue(DocumentKey, QString(), QStringLiteral("OtherViewer"));
    Registry::setValue(IconKey, QString(), QStringLiteral("other,0"));
    QVERIFY(registerDocumentType(QStringLiteral("/opt/t/TavironINV"), QStringLiteral("/opt/t/TavironINV")));
    QCOMPARE(Registry::value(DocumentKey, QString()).toString(), QStringLiteral("TavironINV"));
    QCOMPARE(Registry::value(IconKey, QString()).toString(), QStringLiteral("/opt/t/TavironINV,0"));
    QCOMPARE(Registry::value(CommandKey, QString()).toString(), QStringLiteral("/opt/t/TavironINV %1"));
    QVERIFY(!registerDocumentType(QStringLiteral("x"), QStringLiteral("y")));
}

void TestStartUp::desktopEntryQuotesTheProgramPath()
{
    notifyAssociationChanged(QStringLiteral("/opt/My Tools/50%$\"q\"/TavironINV"));
    const QByteArray entry = fileBytes(dataHome() + QStringLiteral("/applications/TavironINV.desktop"));
    QCOMPARE(entry,
        QByteArray("[Desktop Entry]\n"
                   "Type=Application\n"
                   "Name=TavironINV\n"
                   "Exec=\"/opt/My Tools/50%%\\\\$\\\\\"q\\\\\"/TavironINV\" %f\n"
                   "MimeType=application/x-tavironinv-document;\n"
                   "Terminal=false\n"));
}

void TestStartUp::startLeavesLogAndResetGlobals()
{
    g_station = 9;
    g_seriesLetter = 'A';
    g_replyError = true;
    g_stationHex.set('0', '9');
    start({ QStringLiteral("TavironINV") });

    QCOMPARE(g_appDir, m_appDir.path() + QLatin1Char('/'));
    QCOMPARE(g_appFilePath, m_appDir.path() + QStringLiteral("/TavironINV"));
    QVERIFY(g_commandLineDoc.isEmpty());
    QVERIFY(fileBytes(g_appDir + QStringLiteral("Operation_log.txt")).endsWith("  Open TavironINV\r\n"));
    QCOMPARE(int(g_station), 0);
    QCOMPARE(g_seriesLetter.load(), '0');
    QVERIFY(!g_replyError);
    QCOMPARE(int(g_stationHex[0]), 0);
    QCOMPARE(int(g_stationHex[1]), 0);
    QVERIFY(g_monitorThread);
    QVERIFY(!g_monitorThread->isRunning());
}

void TestStartUp::documentGivesOnlyItsStationFile_data()
{
    using Entries = QList<QPair<QByteArray, QByteArray>>;
    QTest::addColumn<QString>("document");
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QByteArray>("station");
    QTest::addColumn<QString>("reason"); // of the warning that names the document; none when empty

    const Entries hostile { { "TavironINV", "replaced" }, { "station.txt", "NO.007\r\nLanguage:1\r\n" },
        { "../escape.txt", "out" }, { "ParameterInforamtion/InvType/FNC.txt", "x" },
        { "/tmp/absolute-from-tv.txt", "x" } };
    QTest::newRow("document") << "site.tv" << hostile << QByteArray("NO.007\r\nLanguage:1\r\n") << "";
    QTest::newRow("folder merely containing .tv") << "from.tv/settings.zip" << hostile << QByteArray() << "";
    QTest::newRow("ending in capitals") << "SITE.TV" << hostile << QByteArray() << "";
    QTest::newRow("document without settings")
        << "empty.tv" << Entries { { "readme.txt", "x" } } << QByteArray() << "it holds no settings";
    QTest::newRow("settings in a folder only")
        << "nested.tv" << Entries { { "sub/station.txt", "x" } } << QByteArray() << "it holds no settings";
    QTest::newRow("missing document") << "" << Entries {} << QByteArray() << "No such file or directory";
    QTest::newRow("empty file") << "blank.tv" << Entries {} << QByteArray() << "it is not a document (no zip archive)";
    QTest::newRow("FIFO") << "fifo:pipe.tv" << Entries {} << QByteArray() << "it is not a regular file";
    QTest::newRow("folder") << "folder:site.tv" << Entries {} << QByteArray() << "it is not a regular file";
}

void TestStartUp::documentGivesOnlyItsStationFile()
{
    using Entries = QList<QPair<QByteArray, QByteArray>>;
    QFETCH(QString, document);
    QFETCH(Entries, entries);
    QFETCH(QByteArray, station);
    QFETCH(QString, reason);
    const QString folder = m_documents.path() + QStringLiteral("/inbox");
    QDir(folder).removeRecursively();
    // "fifo:" and "folder:" name what stands under the document's name.
    const QString kind = document.section(QLatin1Char(':'), -2, -2);
    document = document.section(QLatin1Char(':'), -1);
    const QString path
        = document.isEmpty() ? folder + QStringLiteral("/gone.tv") : folder + QLatin1Char('/') + document;
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else if (kind == QLatin1String("fifo"))
        QVERIFY(QDir().mkpath(folder) && mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else if (!document.isEmpty())
        QVERIFY(entries.isEmpty() ? writeFile(path, QByteArray()) : writeZip(path, entries));
    const QStringList before = QDir(m_appDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    UserAnswers user;
    const QDeadlineTimer second(1000);
    start({ QStringLiteral("TavironINV"), path });
    // Opening a FIFO would wait for a writer that never comes.
    QVERIFY(!second.hasExpired());
    QCOMPARE(user.boxes.join(""), reason.isEmpty() ? "" : "Warning | Cannot read file " + path + ":\n" + reason + ".");
    // Only a document that gave its settings is the one the next Save writes to.
    QCOMPARE(g_commandLineDoc, station.isEmpty() ? QString() : path);
    QCOMPARE(takePendingStationFile(), station);
    const QStringList after = QDir(m_appDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QStringList expected = before;
    if (!expected.contains(QStringLiteral("Operation_log.txt")))
        expected.append(QStringLiteral("Operation_log.txt"));
    expected.sort();
    QCOMPARE(after, expected);
    QVERIFY(!QFile::exists(QFileInfo(m_appDir.path()).path() + QStringLiteral("/escape.txt")));
    QVERIFY(!QFile::exists(QStringLiteral("/tmp/absolute-from-tv.txt")));
}

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
