// Data-update packages chosen through Help > Update: which data files of the program folder they
// replace, and what the user is told.

#include "comm/globals.h"
#include "pseudoterminal.h"
#include "shell/appglobals.h"
#include "shell/document.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"
#include "zip/ziparchive.h"
#include "testdirs.h"
#include "testfiles.h"
#include "useranswers.h"

#include <QDir>
#include <QFile>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <zip.h>

struct Item {
    QByteArray name;
    QByteArray data;
    bool corrupt = false; // one byte of its stored data is changed after packing
    bool link = false; // marked a symbolic link, as a Unix zip tool stores one
};
using Items = QList<Item>;
Q_DECLARE_METATYPE(Item)

namespace
{

const QString Fnc = QStringLiteral("ParameterInforamtion/InvType/FNC.txt");
const QString InvType = QStringLiteral("ParameterInforamtion/InvType/InvType.txt");
const QString Picture = QStringLiteral("images/VP.png");
const QString NewList = QStringLiteral("ParameterInforamtion/Combox/A_Eng.txt");

// Unencrypted packages are made with minizip, entries stored so that a corrupt one can be made by
// changing a byte of its data; encrypted ones with our writer.
bool writePackage(const QString &path, const Items &items, const QByteArray &password)
{
    if (!password.isEmpty()) {
        ZipArchiveWriter writer(password);
        bool ok = writer.create(path) == ZipOk;
        for (const Item &item : items)
            ok = ok && writer.add(QString::fromLatin1(item.name), item.data) == ZipOk;
        return writer.close() == ZipOk && ok;
    }
    QList<QPair<QByteArray, QByteArray>> entries;
    for (const Item &item : items)
        entries.append({ item.name, item.data });
    if (!writeZip(path, entries, true))
        return false;
    QByteArray bytes = fileBytes(path);
    for (const Item &item : items) {
        if (!item.corrupt)
            continue;
        const int at = bytes.indexOf(item.data);
        if (at < 0)
            return false;
        bytes[at] = char(bytes.at(at) ^ 0x20);
    }
    for (const Item &item : items) {
        // A link's central record, whose name follows 46 bytes of fields: made on Unix, mode 0120777.
        const int at = item.link ? bytes.indexOf(item.name, bytes.indexOf("PK\x01\x02")) - 46 : -1;
        if (at >= 0) {
            bytes[at + 5] = 3;
            for (int i = 0; i < 4; ++i)
                bytes[at + 38 + i] = char((0120777u << 16) >> (8 * i));
        }
    }
    return writeFile(path, bytes);
}

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void packageReplacesDataFiles_data();
    void packageReplacesDataFiles();
    void failedMoveLeavesEveryFileAsItWas_data();
    void failedMoveLeavesEveryFileAsItWas();
    void oversizedPackageIsRefusedUnwritten();
    void linkOutOfTheProgramFolderIsNotFollowed();

private:
    // "path=contents" of the data files a package may touch, "path missing" for absent ones.
    QStringList dataFiles() const;
    // Every entry below the program folder with its size, links as their targets.
    QStringList programFolderTree() const;
    // Triggers Help > Update with the package; returns the boxes shown.
    QStringList update(const QString &package);

    QTemporaryDir m_appDir;
    QTemporaryDir m_work;
    QTemporaryDir m_packages;
    ListedLine m_line;
    CMainWindow *m_window = nullptr;
};

void TestUpdate::initTestCase()
{
    QVERIFY(m_appDir.isValid() && m_work.isValid() && m_packages.isValid());
    initShellResources();
    g_appDir = m_appDir.path() + QLatin1Char('/');
    QVERIFY(writeFile(g_appDir + Fnc, fileBytes(binDir() + QLatin1Char('/') + Fnc)));
    QVERIFY(m_line.open(QStringLiteral("COM1")));
    m_window = new CMainWindow(nullptr);
    g_mainWindow = m_window;
    // Started from another folder than its own.
    QVERIFY(QDir::setCurrent(m_work.path()));
}

void TestUpdate::cleanupTestCase()
{
    delete m_window;
    g_mainWindow = nullptr;
    m_line.close();
}

void TestUpdate::init()
{
    QFile::setPermissions(g_appDir + InvType, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(writeFile(g_appDir + Fnc, "old FNC\r\n"));
    QVERIFY(writeFile(g_appDir + InvType, "old InvType\r\n"));
    QVERIFY(writeFile(g_appDir + Picture, "old picture"));
    QFile::remove(g_appDir + NewList);
    QDir(QFileInfo(g_appDir + NewList).path()).removeRecursively();
}

QStringList TestUpdate::dataFiles() const
{
    QStringList out;
    for (const QString &name : { Fnc, InvType, Picture, NewList }) {
        const QString path = g_appDir + name;
        out.append(QFile::exists(path) ? name + QLatin1Char('=') + QString::fromLatin1(fileBytes(path))
                                       : name + QStringLiteral(" missing"));
    }
    return out;
}

QStringList TestUpdate::programFolderTree() const
{
    QStringList out;
    QDirIterator it(g_appDir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        out.append(it.filePath().mid(g_appDir.size()) + QLatin1Char(' ')
            + (info.isSymLink() ? info.symLinkTarget() : QString::number(info.size())));
    }
    out.sort();
    return out;
}

QStringList TestUpdate::update(const QString &package)
{
    UserAnswers user;
    user.fileNames = QStringList { package };
    m_window->actUpdate->trigger();
    return user.boxes;
}

void TestUpdate::packageReplacesDataFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Items>("items");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<bool>("readOnlyTarget");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("files");

    const QStringList complete { "Warning | Complete the update!" };
    const auto failed = [](QString why) { return QStringList { "Warning | Update false!\n%1:\n" + why + "." }; };
    const QStringList unchanged { Fnc + "=old FNC\r\n", InvType + "=old InvType\r\n", Picture + "=old picture",
        NewList + " missing" };
    const Items three { { "ParameterInforamtion/InvType/FNC.txt", "new FNC\r\n" },
        { "ParameterInforamtion/InvType/InvType.txt", "new InvType\r\n" }, { "images/VP.png", "new picture" } };
    Items corrupt = three;
    corrupt[1].corrupt = true;

    QTest::newRow("changed data file") << "data.zr"
                                       << Items { { "ParameterInforamtion/InvType/FNC.txt", "new FNC\r\n" } }
                                       << QByteArray() << false << complete
                                       << QStringList { Fnc + "=new FNC\r\n", unchanged[1], unchanged[2],
                                              unchanged[3] };
    QTest::newRow("backslash paths, new folder")
        << "lists.zr" << Items { { "ParameterInforamtion\\Combox\\A_Eng.txt", "list" } } << QByteArray() << false
        << complete << QStringList { unchanged[0], unchanged[1], unchanged[2], NewList + "=list" };
    QTest::newRow("encrypted with the program's password")
        << "sealed.zr" << three << QByteArray("731924") << false << complete
        << QStringList { Fnc + "=new FNC\r\n", InvType + "=new InvType\r\n", Picture + "=new picture", unchanged[3] };
    QTest::newRow("encrypted with another password")
        << "foreign.zr" << three << QByteArray("123456") << false
        << failed("it cannot be unpacked (Correct password required)") << unchanged;
    QTest::newRow("one corrupt item") << "damaged.zr" << corrupt << QByteArray() << false
        << failed("it is damaged (an item cannot be unpacked); no data file was changed") << unchanged;
    QTest::newRow("write-protected target") << "protected.zr" << three << QByteArray() << true
                                            << failed(InvType + " cannot be written") << unchanged;
    Items linked = three;
    linked[0] = { "ParameterInforamtion/InvType/FNC.txt", "/etc/passwd", false, true };
    QTest::newRow("symbolic link entry") << "linked.zr" << linked << QByteArray() << false
                                         << failed("it holds a symbolic link") << unchanged;
    QTest::newRow("empty package") << "empty.zr" << Items() << QByteArray() << false << failed("it holds no files")
                                   << unchanged;
    QTest::newRow("not an archive") << "text.zr" << Items() << QByteArray() << false
                                    << failed("it is not an update package (no zip archive)") << unchanged;
    QTest::newRow("ending in capitals") << "DATA.ZR" << three << QByteArray() << false
        << QStringList { "Warning | Cannot read file %1:\nthe name does not end in .zr." } << unchanged;
    QTest::newRow("cancelled") << "" << three << QByteArray() << false << QStringList() << unchanged;
}

void TestUpdate::packageReplacesDataFiles()
{
    QFETCH(QString, name);
    QFETCH(Items, items);
    QFETCH(QByteArray, password);
    QFETCH(bool, readOnlyTarget);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, files);
    const QString path = name.isEmpty() ? QString() : m_packages.path() + QLatin1Char('/') + name;
    if (name == QLatin1String("text.zr"))
        QVERIFY(writeFile(path, "not an archive"));
    else if (!name.isEmpty())
        QVERIFY(writePackage(path, items, password));
    if (readOnlyTarget)
        QVERIFY(QFile::setPermissions(g_appDir + InvType, QFile::ReadOwner));
    const QStringList programFolder = QDir(g_appDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    UserAnswers user;
    user.fileNames = QStringList { path };
    m_window->actUpdate->trigger();
    QCOMPARE(user.dialogs, QStringList { "Update | ZR Files(*.zr)" });
    QCOMPARE(user.boxes, boxes.replaceInStrings("%1", path));
    QCOMPARE(dataFiles(), files);
    // Nothing lands in the folder the program was started from, and no unpacking folder is left.
    QCOMPARE(QDir(m_work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    QCOMPARE(QDir(g_appDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), programFolder);
}

void TestUpdate::failedMoveLeavesEveryFileAsItWas_data()
{
    QTest::addColumn<int>("failingMove");
    // Three files that replace others, then one in a folder the update creates.
    for (int k = 1; k <= 4; ++k)
        QTest::newRow(qPrintable(QStringLiteral("move %1 of 4 fails").arg(k))) << k;
}

void TestUpdate::failedMoveLeavesEveryFileAsItWas()
{
    QFETCH(int, failingMove);
    const QString path = m_packages.path() + QStringLiteral("/full-disk.zr");
    QVERIFY(writePackage(path,
        { { "ParameterInforamtion/InvType/FNC.txt", "new FNC\r\n" },
            { "ParameterInforamtion/InvType/InvType.txt", "new InvType\r\n" }, { "images/VP.png", "new picture" },
            { "ParameterInforamtion/Combox/A_Eng.txt", "list" } },
        QByteArray()));
    const QStringList before = programFolderTree();
    const QStringList files = dataFiles();
    failUpdateMoveForTest(failingMove);
    const QStringList boxes = update(path);
    failUpdateMoveForTest(0);
    QVERIFY2(boxes.size() == 1 && boxes[0].startsWith("Warning | Update false!\n" + path + ":\n") && boxes[0].endsWith(
        " could not be moved into place; the data files are as they were."), qPrintable(boxes.join('\n')));
    QCOMPARE(dataFiles(), files);
    QCOMPARE(programFolderTree(), before);

    // The same package goes in whole once the moves succeed.
    QCOMPARE(update(path), QStringList { "Warning | Complete the update!" });
    QCOMPARE(dataFiles(),
        QStringList({ Fnc + "=new FNC\r\n", InvType + "=new InvType\r\n", Picture + "=new picture", NewList + "=list" }));
}

void TestUpdate::oversizedPackageIsRefusedUnwritten()
{
    const QString path = m_packages.path() + QStringLiteral("/huge.zr");
    QVERIFY(writeZipBomb(path, "ParameterInforamtion/InvType/FNC.txt", quint64(1024) << 20,
        { { "images/VP.png", "new picture" } }));
    const QStringList before = programFolderTree();
    const qint64 peak = peakMemory();
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(update(path),
        QStringList { "Warning | Update false!\n" + path + ":\nan item is larger than 64 MiB." });
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(peakMemory() - peak < 100 << 20, qPrintable(QString::number(peakMemory() - peak)));
    QCOMPARE(programFolderTree(), before);
}

void TestUpdate::linkOutOfTheProgramFolderIsNotFollowed()
{
    QTemporaryDir elsewhere;
    const QString link = g_appDir + QStringLiteral("ParameterInforamtion/Combox");
    QVERIFY(QFile::link(elsewhere.path(), link));
    const QString path = m_packages.path() + QStringLiteral("/linked.zr");
    QVERIFY(writePackage(path,
        { { "ParameterInforamtion/InvType/FNC.txt", "new FNC\r\n" }, { "ParameterInforamtion/Combox/A_Eng.txt", "list" } },
        QByteArray()));
    const QStringList before = programFolderTree();
    const QStringList boxes = update(path);
    const QStringList outside = QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const QStringList after = programFolderTree();
    QFile::remove(link);
    QCOMPARE(boxes, QStringList { "Warning | Update false!\n" + path + ":\n" + NewList + " cannot be written." });
    QCOMPARE(outside, QStringList());
    QCOMPARE(after, before);
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
