// Documents as the user meets them: Save as and Save through the main window's actions, Open, and
// a document named on the command line at the next start. Archives are read back with minizip.

#include "connection/comsetup.h"
#include "parameter/parameter.h"
#include "parameter/parinformation.h"
#include "comm/globals.h"
#include "comm/win_qextserialport.h"
#include "pseudoterminal.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/startup.h"
#include "shell/stationfile.h"
#include "testdirs.h"
#include "testfiles.h"
#include "useranswers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStandardItem>
#include <QTemporaryDir>
#include <QtTest>
#include <unzip.h>
#include <zip.h>

namespace
{

using Entries = QList<QPair<QByteArray, QByteArray>>;

const QByteArray UserStationFile = "my own list of stations\r\n";
const QByteArray DefaultStationLine = "Station:NO.005,VP-220V-0.75K-G\r\n";

// Every entry with its contents; methods gets each entry's compression method.
Entries readZip(const QString &path, QList<int> *methods = nullptr, QList<quint32> *attributes = nullptr)
{
    Entries entries;
    unzFile zip = unzOpen(QFile::encodeName(path).constData());
    if (!zip)
        return entries;
    for (int r = unzGoToFirstFile(zip); r == UNZ_OK; r = unzGoToNextFile(zip)) {
        unz_file_info info;
        char name[512];
        unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        QByteArray data(int(info.uncompressed_size), '\0');
        if (unzOpenCurrentFile(zip) != UNZ_OK)
            break;
        const int read = unzReadCurrentFile(zip, data.data(), unsigned(data.size()));
        const bool intact = unzCloseCurrentFile(zip) == UNZ_OK && read == data.size();
        entries.append({ name, intact ? data : QByteArray("<damaged>") });
        if (methods)
            methods->append(int(info.compression_method));
        if (attributes)
            attributes->append(quint32(info.external_fa));
    }
    unzClose(zip);
    return entries;
}

// The settings the program holds, then what the set-up dialog shows of them (its port list
// aside, which is filled only when the dialog opens).
QString shownSettings(CMainWindow *window)
{
    const CComSetup *d = window->comSetup;
    return QStringLiteral("language %1 | %2 | dialog %3-%4-%5-%6-%7-%8-%9")
        .arg(g_language)
        .arg(commSettingsValue(currentCommSettings()))
        .arg(d->ProcomboBox->currentIndex())
        .arg(d->BaudcomboBox->currentIndex())
        .arg(d->DatacomboBox->currentIndex())
        .arg(d->StopComboBox->currentIndex())
        .arg(d->CheckComboBox->currentIndex())
        .arg(d->CRComboBox->currentIndex())
        .arg(d->TimeComboBox->currentText());
}

QStringList stationItems(CMainWindow *window)
{
    QStringList items;
    QStandardItem *root = window->navigation->treeRoot;
    for (int i = 0; i < root->rowCount(); ++i)
        items.append(root->child(i)->text());
    return items;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void saveAsWritesTheSettingsAlone_data();
    void saveAsWritesTheSettingsAlone();
    void documentSurvivesARestart();
    void openTakesOnlyRealDocuments_data();
    void openTakesOnlyRealDocuments();
    void failedSaveIsReported();
    void oversizedStationFileIsRefusedUnread_data();
    void oversizedStationFileIsRefusedUnread();

private:
    void openWindow();
    QString documents() const { return m_documents.path() + QLatin1Char('/'); }

    QTemporaryDir m_appDir;
    QTemporaryDir m_work;
    QTemporaryDir m_documents;
    QTemporaryDir m_dataHome;
    ListedLine m_line;
    CMainWindow *m_window = nullptr;
};

void TestDocument::initTestCase()
{
    QVERIFY(m_appDir.isValid() && m_work.isValid() && m_documents.isValid() && m_dataHome.isValid());
    initShellResources();
    QCoreApplication::installTranslator(&g_translator);
    const QString table = QStringLiteral("/ParameterInforamtion/InvType/FNC.txt");
    QVERIFY(QDir().mkpath(m_appDir.path() + QStringLiteral("/ParameterInforamtion/InvType")));
    QVERIFY(QFile::copy(binDir() + table, m_appDir.path() + table));
    // Start-up writes the desktop association; keep it, and the tools it would run, out of the user's way.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome.path()));
    qputenv("PATH", "/nonexistent");
    // The user works in a folder that holds a station.txt of their own.
    QVERIFY(QDir::setCurrent(m_work.path()));
    QVERIFY(writeFile(m_work.path() + QStringLiteral("/station.txt"), UserStationFile));
}

void TestDocument::init()
{
    QVERIFY(m_line.open());
    g_appDir = m_appDir.path() + QLatin1Char('/');
    g_commandLineDoc.clear();
    g_stationText.clear();
    g_language = 0;
    openWindow();
}

void TestDocument::openWindow()
{
    m_window = new CMainWindow(nullptr);
    g_mainWindow = m_window;
}

void TestDocument::cleanup()
{
    delete m_window;
    m_window = nullptr;
    g_mainWindow = nullptr;
    m_line.close();
    QCOMPARE(fileBytes(m_work.path() + QStringLiteral("/station.txt")), UserStationFile);
    QVERIFY(!QFile::exists(g_appDir + QStringLiteral("station.txt")));
    for (const QString &name : entriesOf(m_documents.path())) {
        const QString path = documents() + name;
        QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
    }
}

void TestDocument::saveAsWritesTheSettingsAlone_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QByteArray>("bytes");

    const QString label = QStringLiteral("Select station: NO.005 VP-220V-0.75K-G");
    const QByteArray rest = "languageType:0\r\nCOM:0-COM1-1-1-0-0-1-10\r\n";
    QTest::newRow("set-up dialog never opened") << label << QStringList() << "site"
                                                << "site.tv" << DefaultStationLine + rest;
    QTest::newRow("port picked in the set-up dialog")
        << label << QStringList { "COM3", "COM7" } << "site.tv"
        << "site.tv" << DefaultStationLine + "languageType:0\r\nCOM:0-COM7-1-1-0-0-1-10\r\n";
    QTest::newRow("caption glued to the number")
        << QString::fromUtf8("选择站号:NO.012 VR3-440V-1.5K-L") << QStringList() << "a.b.tv"
        << "a.b.tv"
        << "Station:NO.012,VR3-440V-1.5K-L\r\n" + rest;
    QTest::newRow("label of two words") << "NO.7 A-1" << QStringList() << "two"
                                        << "two.tv"
                                        << "Station:NO.007,A-1\r\n" + rest;
    QTest::newRow("no station selected") << "Select station: ---" << QStringList() << "none"
                                         << "none.tv"
                                         << "Station:\r\n" + rest;
}

void TestDocument::saveAsWritesTheSettingsAlone()
{
    QFETCH(QString, label);
    QFETCH(QStringList, ports);
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QFETCH(QByteArray, bytes);
    m_window->navigation->PotLabel->setText(label);
    m_window->comSetup->AutoPort->addItems(ports);
    m_window->comSetup->AutoPort->setCurrentIndex(ports.size() - 1);

    UserAnswers user;
    user.fileNames = QStringList { documents() + typed };
    m_window->actSave_as->trigger();

    QCOMPARE(user.dialogs, QStringList { "Save File | ZR Files(*.tv)" });
    QCOMPARE(user.boxes, QStringList());
    QList<int> methods;
    QList<quint32> attributes;
    QCOMPARE(readZip(documents() + saved, &methods, &attributes), (Entries { { "station.txt", bytes } }));
    QCOMPARE(methods, QList<int> { Z_DEFLATED });
    // A file with the archive bit, readable and writable by its owner.
    QCOMPARE(attributes, QList<quint32> { 0x81800020u });
    QCOMPARE(entriesOf(m_documents.path()), QStringList { saved });
    QCOMPARE(g_stationText.toLatin1() + "\r\n", bytes.left(bytes.indexOf("\r\n") + 2));
}

void TestDocument::documentSurvivesARestart()
{
    g_language = 2;
    m_window->applyLanguage();
    m_window->navigation->PotLabel->setText(QStringLiteral("Select station: NO.005 VP-220V-0.75K-G"));
    g_protocolIndex = 1;
    g_portName = QStringLiteral("COM3");
    g_baudIndex = 3;
    g_dataBitsIndex = 1;
    g_stopBitsIndex = 1;
    g_parityIndex = 2;
    g_crLfIndex = 0;
    g_timeoutText = QStringLiteral("40");
    const QString document = documents() + QStringLiteral("plant.tv");
    {
        UserAnswers user;
        user.fileNames = QStringList { document };
        // As the user does it: the "&System" menu, then its last entry.
        QMenu *system = m_window->menuSystem;
        system->popup(QPoint());
        QTest::mouseClick(system, Qt::LeftButton, {}, system->actionGeometry(system->actions().last()).center());
        QCOMPARE(user.boxes, QStringList());
    }
    QVERIFY(QFile::exists(document));

    // The next run, started with the document.
    delete m_window;
    m_window = nullptr;
    resetCommunicationDefaults();
    g_language = 0;
    (void)g_translator.load(QString()); // a new run starts with an empty catalogue
    g_stationText.clear();
    runStartUpSteps(
        { QStringLiteral("TavironINV"), document }, g_appDir + QStringLiteral("TavironINV"), m_appDir.path());
    openWindow();

    QCOMPARE(stationItems(m_window), QStringList { "NO.005 VP-220V-0.75K-G" });
    QCOMPARE(m_window->navigation->stationTypes.at(5), QStringLiteral("VP-220V-0.75K-G"));
    QCOMPARE(g_stationText, QStringLiteral("Station:NO.005,VP-220V-0.75K-G"));
    QVERIFY(m_window->actCT->isChecked());
    QCOMPARE(shownSettings(m_window), QStringLiteral("language 2 | 1-COM3-3-1-1-2-0-40 | dialog 1-3-1-1-2-0-40"));
    const QAbstractItemModel *help = m_window->parameterForm->parInformation->SysTableView->model();
    QCOMPARE(help->headerData(0, Qt::Horizontal).toString() + help->headerData(1, Qt::Horizontal).toString(),
        QStringLiteral("編號備註"));
    QVERIFY(g_serialPort->isOpen());
    QCOMPARE(g_commandLineDoc, document);

    // Save writes to that document once without asking; the next Save asks.
    m_window->navigation->PotLabel->setText(QStringLiteral("Select station: NO.006 VP-220V-1.5K-G"));
    UserAnswers user;
    m_window->ActSave->trigger();
    QCOMPARE(user.dialogs, QStringList());
    QCOMPARE(readZip(document).value(0).second.left(32), QByteArray("Station:NO.006,VP-220V-1.5K-G\r\nl"));
    m_window->ActSave->trigger();
    QCOMPARE(user.dialogs.size(), 1);
    QCOMPARE(entriesOf(m_documents.path()), QStringList { "plant.tv" });
}

void TestDocument::openTakesOnlyRealDocuments_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("archive");
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("stations");
    QTest::addColumn<QString>("settings");

    const QString unchanged = QStringLiteral("language 0 | 0-COM1-1-1-0-0-1-10 | dialog 0-1-1-0-0-1-10");
    const auto refused = [](QString why) { return QStringList { "Warning | Cannot read file %1:\n" + why + "." }; };
    const Entries hostile { { "station.txt",
                                "Station:NO.005,VP-220V-0.75K-G\r\nlanguageType:1\r\nCOM:1-COM3-3-1-1-2-0-40\r\n" },
        { "TavironINV", "replaced" }, { "../escape.txt", "out" }, { "ParameterInforamtion/InvType/FNC.txt", "x" } };

    QTest::newRow("document") << "site.tv" << true << hostile << QStringList()
                              << QStringList { "NO.005 VP-220V-0.75K-G" }
                              << "language 1 | 1-COM3-3-1-1-2-0-40 | dialog 1-3-1-1-2-0-40";
    QTest::newRow("older document, several dots")
        << "my.site.v2.tv" << true
        << Entries { { "station.txt", "Station:7,A-1-2\nlanguageType:7\nCOM:0-COM9-2-1-0-0-2-10\n" } } << QStringList()
        << QStringList { "NO.007 A-1-2" } << "language 0 | 0-COM9-2-1-0-0-2-10 | dialog 0-2-1-0-0-2-10";
    QTest::newRow("station without type")
        << "bare.tv" << true << Entries { { "station.txt", "Station:5\r\nlanguageType:2\r\n" } } << QStringList()
        << QStringList() << "language 2 | 0-COM1-1-1-0-0-1-10 | dialog 0-1-1-0-0-1-10";
    QTest::newRow("ending in capitals") << "SITE.TV" << true << hostile << refused("the name does not end in .tv")
                                        << QStringList() << unchanged;
    QTest::newRow("not an archive") << "notes.tv" << false << Entries()
                                    << refused("it is not a document (no zip archive)") << QStringList() << unchanged;
    QTest::newRow("archive without settings")
        << "other.tv" << true << Entries { { "readme.txt", "x" } } << refused("it holds no settings") << QStringList()
        << unchanged;
    QTest::newRow("cancelled") << "" << false << Entries() << QStringList() << QStringList() << unchanged;
}

void TestDocument::openTakesOnlyRealDocuments()
{
    QFETCH(QString, name);
    QFETCH(bool, archive);
    QFETCH(Entries, entries);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, stations);
    QFETCH(QString, settings);
    const QString path = name.isEmpty() ? QString() : documents() + name;
    if (archive)
        QVERIFY(writeZip(path, entries));
    else if (!name.isEmpty())
        QVERIFY(writeFile(path, "Station:NO.001,A-1\r\n"));
    const QByteArray before = name.isEmpty() ? QByteArray() : fileBytes(path);
    const QStringList programFiles = entriesOf(m_appDir.path());
    m_window->comSetup->AutoPort->addItems({ "COM1", "COM3" });
    g_commandLineDoc = documents() + QStringLiteral("earlier.tv");
    CNavigation *nav = m_window->navigation; // 5 and 7 passed a test and were deleted, 7 of another type
    nav->stationTested[5] = nav->stationTested[7] = 1, nav->deletedTypes[5] = "VP-220V-0.75K-G", nav->deletedTypes[7] = "A-9-9";

    UserAnswers user;
    user.fileNames = QStringList { path };
    m_window->actOpen->trigger();
    QCOMPARE(user.dialogs, QStringList { "Open | ZR Files(*.tv)" });
    QCOMPARE(user.boxes, boxes.replaceInStrings("%1", path));
    QCOMPARE(stationItems(m_window), stations);
    QCOMPARE(shownSettings(m_window), settings);
    QVERIFY(nav->stationTested[5] && nav->stationTested[7] == !stations.contains("NO.007 A-1-2"));
    const bool opened = boxes.isEmpty() && !name.isEmpty();
    QCOMPARE(g_commandLineDoc, opened ? path : QString());
    QCOMPARE(entriesOf(m_appDir.path()), programFiles);
    QVERIFY(!QFile::exists(QFileInfo(m_appDir.path()).path() + QStringLiteral("/escape.txt")));
    // The port combo box shows the saved port when it lists it, else its first entry.
    QCOMPARE(m_window->comSetup->AutoPort->currentText(), g_portName == "COM3" ? "COM3" : "COM1");

    // Save writes without asking only into a document that was really opened.
    user.fileNames.clear();
    m_window->ActSave->trigger();
    QCOMPARE(user.dialogs.size(), opened ? 1 : 2);
    if (opened)
        QCOMPARE(readZip(path).value(0).first, QByteArray("station.txt"));
    else if (!name.isEmpty())
        QCOMPARE(fileBytes(path), before);
}

void TestDocument::failedSaveIsReported()
{
    // A document opened from a folder that is gone by the time of the save (a removed stick).
    const QString folder = documents() + QStringLiteral("stick");
    QVERIFY(QDir().mkpath(folder));
    const QString document = folder + QStringLiteral("/site.tv");
    QVERIFY(writeZip(document, { { "station.txt", DefaultStationLine } }));
    UserAnswers user;
    user.fileNames = QStringList { document };
    m_window->actOpen->trigger();
    QCOMPARE(g_commandLineDoc, document);
    QVERIFY(QDir().rename(folder, documents() + QStringLiteral("unplugged")));

    m_window->ActSave->trigger();
    QCOMPARE(user.boxes.size(), 1);
    QVERIFY2(user.boxes.first().startsWith("Warning | Cannot write file " + document + ":\n"),
        qPrintable(user.boxes.first()));
    QVERIFY(user.boxes.first().endsWith(QLatin1Char('.')));
    QVERIFY(!QFile::exists(document));
    QCOMPARE(entriesOf(documents() + QStringLiteral("unplugged")), QStringList { "site.tv" });
}

void TestDocument::oversizedStationFileIsRefusedUnread_data()
{
    QTest::addColumn<bool>("atStart");
    QTest::addColumn<quint64>("size");
    QTest::addColumn<QStringList>("boxes");
    const QStringList refused { "Warning | Cannot read file %1:\nits settings are larger than 1 MiB." };
    // 1 MiB of zeros is read (and holds no settings): the bomb is a valid archive, refused for its size.
    QTest::newRow("Open, 1 MiB") << false << quint64(1) << QStringList();
    QTest::newRow("Open, 1 GiB") << false << quint64(1024) << refused;
    QTest::newRow("command line, 1 GiB") << true << quint64(1024) << refused;
}

void TestDocument::oversizedStationFileIsRefusedUnread()
{
    QFETCH(bool, atStart);
    QFETCH(quint64, size);
    QFETCH(QStringList, boxes);
    const QString path = documents() + QStringLiteral("bomb.tv");
    QVERIFY(writeZipBomb(path, "station.txt", size << 20));
    QVERIFY(QFileInfo(path).size() < 2 << 20);
    g_commandLineDoc.clear();

    UserAnswers user;
    user.fileNames = QStringList { path };
    const qint64 peak = peakMemory();
    QElapsedTimer clock;
    clock.start();
    if (atStart)
        runStartUpSteps(
            { QStringLiteral("TavironINV"), path }, g_appDir + QStringLiteral("TavironINV"), m_appDir.path());
    else
        m_window->actOpen->trigger();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(peakMemory() - peak < 100 << 20, qPrintable(QString::number(peakMemory() - peak)));
    QCOMPARE(user.boxes, boxes.replaceInStrings("%1", path));
    QCOMPARE(g_commandLineDoc, boxes.isEmpty() ? path : QString());
    QCOMPARE(stationItems(m_window), QStringList());
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
