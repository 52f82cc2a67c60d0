#include "zip/ziparchive.h"

#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

// Archives written here must open in the system's zip tools and Python's zipfile, and theirs here.
namespace {

const QString Zip = QStringLiteral("/usr/bin/zip");
const QString Unzip = QStringLiteral("/usr/bin/unzip");
const QString Python = QStringLiteral("/usr/bin/python3");

struct SourceFile {
    QString path;
    QByteArray content;
    qint64 modified;
};

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray run(const QString &program, const QStringList &args, int *exitCode = nullptr,
               const QString &workingDirectory = QString())
{
    QProcess p;
    p.setWorkingDirectory(workingDirectory);
    p.start(program, args);
    p.waitForFinished(30000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput() + p.readAllStandardError();
}

qint64 mtimeOf(const QString &path) { return QFileInfo(path).lastModified().toSecsSinceEpoch(); }

} // namespace

class tst_ZipInterop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void ourArchivesInOtherTools_data();
    void ourArchivesInOtherTools();
    void otherToolsArchivesReadHere_data();
    void otherToolsArchivesReadHere();
    void wrongPasswordFails();

private:
    void makeSources();
    void compareExtracted(const QString &root, bool exactSeconds);

    std::unique_ptr<QTemporaryDir> m_dir;
    QVector<SourceFile> m_files;
    QString m_src;
};

void tst_ZipInterop::initTestCase()
{
    for (const QString &tool : {Zip, Unzip, Python}) {
        if (!QFileInfo(tool).isExecutable())
            QSKIP(qPrintable(tool + " is not installed"));
    }
    // The tools and the program must agree on local time; the children inherit this zone.
    qputenv("TZ", "XYZ-3");
    tzset();
}

void tst_ZipInterop::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    makeSources();
}

// Text that deflates, noise that does not, an already packed name, an empty file and a folder
// tree; every time even so that two-second DOS stamps hold it exactly.
void tst_ZipInterop::makeSources()
{
    m_src = m_dir->filePath("src");
    QVERIFY(QDir().mkpath(m_src + "/sub/deep"));
    QByteArray noise(200000, '\0');
    quint32 x = 99;
    for (char &c : noise) {
        x = x * 1664525 + 1013904223;
        c = char(x >> 24);
    }
    m_files = {
        {"hello.txt", QByteArray("Hello from the drive set-up program.\r\n").repeated(400), 1609502400},
        {"noise.bin", noise, 1262304000},
        {"packed.zip", QByteArray("not really a zip but named like one"), 1700000000},
        {"empty.txt", QByteArray(), 1500000000},
        {"sub/deep/n.txt", QByteArray("nested\n"), 1400000002},
    };
    for (const SourceFile &f : qAsConst(m_files)) {
        QFile out(m_src + "/" + f.path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(f.content);
        out.close();
        const struct timespec times[2] = {{time_t(f.modified), 0}, {time_t(f.modified), 0}};
        QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(out.fileName()).constData(), times, 0), 0);
    }
}

void tst_ZipInterop::compareExtracted(const QString &root, bool exactSeconds)
{
    for (const SourceFile &f : qAsConst(m_files)) {
        const QString path = root + "/" + f.path;
        QCOMPARE(readFile(path), f.content);
        if (exactSeconds)
            QCOMPARE(mtimeOf(path), f.modified);
    }
    QVERIFY(QFileInfo(root + "/sub/deep").isDir());
}

void tst_ZipInterop::ourArchivesInOtherTools_data()
{
    QTest::addColumn<QByteArray>("password");
    QTest::newRow("plain") << QByteArray();
    QTest::newRow("encrypted") << QByteArray("s3cret!");
}

void tst_ZipInterop::ourArchivesInOtherTools()
{
    QFETCH(QByteArray, password);
    const QString archive = m_dir->filePath("ours.zip");
    ZipArchiveWriter writer(password);
    QCOMPARE(writer.create(archive), ZipOk);
    QCOMPARE(writer.addFolder("sub"), ZipOk);
    QCOMPARE(writer.addFolder("sub/deep"), ZipOk);
    for (const SourceFile &f : qAsConst(m_files))
        QCOMPARE(writer.addFile(f.path, m_src + "/" + f.path), ZipOk);
    QCOMPARE(writer.add("memory.txt", "made in memory"), ZipOk);
    QCOMPARE(writer.close(), ZipOk);

    QStringList passwordArgs;
    if (!password.isEmpty())
        passwordArgs << "-P" << QString::fromLatin1(password);
    int code = -1;
    const QByteArray listing = run(Unzip, QStringList{"-l", archive}, &code);
    QCOMPARE(code, 0);
    for (const char *name : {"sub/", "sub/deep/", "hello.txt", "noise.bin", "packed.zip", "empty.txt",
                             "sub/deep/n.txt", "memory.txt"})
        QVERIFY2(listing.contains(name), listing.constData());
    QByteArray out = run(Unzip, QStringList{"-t"} + passwordArgs + QStringList{archive}, &code);
    QVERIFY2(code == 0, out.constData());

    // unzip takes the times from the "UT" field: to the second.
    const QString unzipped = m_dir->filePath("by-unzip");
    out = run(Unzip, QStringList{"-q"} + passwordArgs + QStringList{archive, "-d", unzipped}, &code);
    QVERIFY2(code == 0, out.constData());
    compareExtracted(unzipped, true);
    QCOMPARE(readFile(unzipped + "/memory.txt"), QByteArray("made in memory"));

    // Python reads the DOS stamp, which is local time.
    const char *script = R"(
import sys, zipfile, hashlib
z = zipfile.ZipFile(sys.argv[1])
pwd = sys.argv[2].encode() if len(sys.argv) > 2 else None
for i in z.infolist():
    data = z.read(i, pwd=pwd)
    print(i.filename, '%04d-%02d-%02dT%02d:%02d:%02d' % i.date_time, hashlib.sha256(data).hexdigest())
)";
    QStringList args{"-c", script, archive};
    if (!password.isEmpty())
        args << QString::fromLatin1(password);
    out = run(Python, args, &code);
    QVERIFY2(code == 0, out.constData());
    const QList<QByteArray> lines = out.trimmed().split('\n');
    QCOMPARE(lines.size(), 8);
    for (const SourceFile &f : qAsConst(m_files)) {
        const QString local = QDateTime::fromSecsSinceEpoch(f.modified, Qt::OffsetFromUTC, 3 * 3600)
                                  .toString("yyyy-MM-ddTHH:mm:ss");
        const QByteArray expected = f.path.toUtf8() + ' ' + local.toUtf8() + ' '
            + QCryptographicHash::hash(f.content, QCryptographicHash::Sha256).toHex();
        QVERIFY2(lines.contains(expected), (expected + "\n" + out).constData());
    }
}

void tst_ZipInterop::otherToolsArchivesReadHere_data()
{
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<bool>("exactSeconds"); // the maker wrote a "UT" field
    QTest::newRow("zip") << "zip" << QByteArray() << true;
    QTest::newRow("zip -P") << "zip" << QByteArray("pa55 word") << true;
    QTest::newRow("zip, stored") << "zip -0" << QByteArray() << true;
    QTest::newRow("zip -P, stored") << "zip -0" << QByteArray("x") << true;
    QTest::newRow("python deflated") << "python" << QByteArray() << false;
    QTest::newRow("python stored") << "python stored" << QByteArray() << false;
    QTest::newRow("python to a pipe") << "python stream" << QByteArray() << false;
}

void tst_ZipInterop::otherToolsArchivesReadHere()
{
    QFETCH(QString, maker);
    QFETCH(QByteArray, password);
    QFETCH(bool, exactSeconds);
    const QString archive = m_dir->filePath("theirs.zip");
    const QStringList names{"hello.txt", "noise.bin", "packed.zip", "empty.txt", "sub/", "sub/deep/", "sub/deep/n.txt"};
    int code = -1;
    QByteArray out;
    if (maker.startsWith("zip")) {
        QStringList args{"-q", "-X"};
        if (maker.endsWith("-0"))
            args << "-0";
        if (!password.isEmpty())
            args << "-P" << QString::fromLatin1(password);
        out = run(Zip, args + QStringList{archive} + names, &code, m_src);
    } else {
        const char *script = R"(
import os, sys, zipfile
mode = sys.argv[1]
method = zipfile.ZIP_STORED if mode == 'stored' else zipfile.ZIP_DEFLATED
target = sys.stdout.buffer if mode == 'stream' else open(sys.argv[2], 'wb')
with zipfile.ZipFile(target, 'w', method) as z:
    for name in sys.argv[3:]:
        z.write(name, name)
)";
        QProcess p;
        p.setWorkingDirectory(m_src);
        p.start(Python, QStringList{"-c", script, maker.section(' ', 1), archive} + names);
        QVERIFY(p.waitForFinished(30000));
        code = p.exitCode();
        out = p.readAllStandardError();
        if (maker.endsWith("stream")) {
            QFile f(archive);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(p.readAllStandardOutput());
        }
    }
    QVERIFY2(code == 0, out.constData());

    ZipArchiveReader reader(password.isEmpty() ? QByteArray() : password);
    QCOMPARE(reader.openFile(archive), ZipOk);
    QStringList listed = reader.names();
    QCOMPARE(listed, names);
    for (const SourceFile &f : qAsConst(m_files)) {
        QByteArray data;
        QCOMPARE(reader.read(f.path, &data), ZipOk);
        QCOMPARE(data, f.content);
    }
    const QString extracted = m_dir->filePath("here");
    QCOMPARE(reader.extractAll(extracted), ZipOk);
    compareExtracted(extracted, exactSeconds);
    if (!exactSeconds) {
        // Only the DOS stamp: local time at two-second resolution, here exact since the times are even.
        for (const SourceFile &f : qAsConst(m_files))
            QCOMPARE(mtimeOf(extracted + "/" + f.path), f.modified);
    }
}

void tst_ZipInterop::wrongPasswordFails()
{
    const QString archive = m_dir->filePath("locked.zip");
    int code = -1;
    run(Zip, QStringList{"-q", "-P", ZipArchivePassword, archive, "hello.txt", "packed.zip"}, &code, m_src);
    QCOMPARE(code, 0);

    for (const QByteArray &password : {QByteArray("wrong"), QByteArray(), QByteArray("")}) {
        ZipArchiveReader reader(password);
        QCOMPARE(reader.openFile(archive), ZipOk);
        QByteArray data;
        QCOMPARE(reader.read("hello.txt", &data), ZipPassword);
        QVERIFY(data.isEmpty());
        const QString target = m_dir->filePath("wrong");
        QCOMPARE(reader.extractAll(target), ZipPassword);
        QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // The program's own archives are opened with its fixed password.
    const QString target = m_dir->filePath("right");
    QCOMPARE(ExtractZipArchive(QFile::encodeName(archive).constData(), QFile::encodeName(target).constData()), ZipOk);
    QCOMPARE(readFile(target + "/hello.txt"), m_files[0].content);
    QCOMPARE(readFile(target + "/packed.zip"), m_files[2].content);
}

QTEST_GUILESS_MAIN(tst_ZipInterop)
#include "tst_zipinterop.moc"
