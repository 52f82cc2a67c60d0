#include "zip/zipreader.h"
#include "zip/zipsource.h"

#include <QtTest>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <zlib.h>

// Archives are put together byte by byte here so that names, sizes and extra fields can lie.
namespace {

struct RawEntry {
    QByteArray name;
    QByteArray payload; // the bytes as they lie in the archive
    quint16 method = 0;
    quint16 flags = 0;
    quint32 crc = 0;
    quint32 size = 0;
    quint32 dosStamp = 0x50AA6000; // 2020-05-10 12:00:00
    quint16 versionMadeBy = 0x0314;
    quint32 externalAttributes = 0x81A40000;
    QByteArray localExtra;
};

void put16(QByteArray &b, quint16 v) { b.append(char(v)).append(char(v >> 8)); }
void put32(QByteArray &b, quint32 v) { put16(b, quint16(v)); put16(b, quint16(v >> 16)); }

quint32 crcOf(const QByteArray &d) { return quint32(crc32(0, reinterpret_cast<const Bytef *>(d.constData()), uInt(d.size()))); }

RawEntry stored(const QByteArray &name, const QByteArray &content)
{
    RawEntry e;
    e.name = name;
    e.payload = content;
    e.crc = crcOf(content);
    e.size = quint32(content.size());
    return e;
}

RawEntry deflated(const QByteArray &name, const QByteArray &content)
{
    RawEntry e = stored(name, content);
    z_stream z = {};
    deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&z, uLong(content.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(content.constData()));
    z.avail_in = uInt(content.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(int(z.total_out));
    deflateEnd(&z);
    e.payload = out;
    e.method = 8;
    return e;
}

RawEntry folder(const QByteArray &name)
{
    RawEntry e = stored(name, QByteArray());
    e.externalAttributes = 0x41ED0010;
    return e;
}

QByteArray buildZip(const QVector<RawEntry> &entries, int claimedCount = -1)
{
    QByteArray zip, central;
    for (const RawEntry &e : entries) {
        const quint32 offset = quint32(zip.size());
        zip.append("PK\x03\x04", 4);
        put16(zip, 20);
        put16(zip, e.flags);
        put16(zip, e.method);
        put32(zip, e.dosStamp);
        put32(zip, e.crc);
        put32(zip, quint32(e.payload.size()));
        put32(zip, e.size);
        put16(zip, quint16(e.name.size()));
        put16(zip, quint16(e.localExtra.size()));
        zip.append(e.name).append(e.localExtra).append(e.payload);

        central.append("PK\x01\x02", 4);
        put16(central, e.versionMadeBy);
        put16(central, 20);
        put16(central, e.flags);
        put16(central, e.method);
        put32(central, e.dosStamp);
        put32(central, e.crc);
        put32(central, quint32(e.payload.size()));
        put32(central, e.size);
        put16(central, quint16(e.name.size()));
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, e.externalAttributes);
        put32(central, offset);
        central.append(e.name);
    }
    const quint32 cdOffset = quint32(zip.size());
    zip.append(central);
    const quint16 count = quint16(claimedCount < 0 ? entries.size() : claimedCount);
    zip.append("PK\x05\x06", 4);
    put16(zip, 0);
    put16(zip, 0);
    put16(zip, count);
    put16(zip, count);
    put32(zip, quint32(central.size()));
    put32(zip, cdOffset);
    put16(zip, 0);
    return zip;
}

QByteArray utField(quint8 flags, const QVector<qint32> &times, int claimedSize = -1)
{
    QByteArray f("UT");
    put16(f, quint16(claimedSize < 0 ? 1 + 4 * times.size() : claimedSize));
    f.append(char(flags));
    for (qint32 t : times)
        put32(f, quint32(t));
    return f;
}

quint64 fileTimeOfUtc(const QDateTime &utc) { return quint64(utc.toSecsSinceEpoch()) * 10000000ULL + 116444736000000000ULL; }

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// Every file below root, relative, sorted.
QStringList treeOf(const QString &root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

} // namespace

class tst_ZipReader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanedNames_data();
    void cleanedNames();
    void extractionStaysInsideTarget_data();
    void extractionStaysInsideTarget();
    void symbolicLinksAreNotFollowed();
    void damagedArchivesFail_data();
    void damagedArchivesFail();
    void failedItemKeepsGoodFileAndIsReported();
    void readOnlyTargetIsNotReplaced();
    void mutatedArchivesNeverCrash();
    void extendedTimeField_data();
    void extendedTimeField();
    void attributes_data();
    void attributes();
    void itemIndexBoundsAndCount();
    void memoryExtractionInChunks();
    void wholeEntryToFileAndDescriptor();
    void emptyEntryAndFolderEntry();
    void baseDirectory_data();
    void baseDirectory();
    void overlongNameFailsInsteadOfTruncating();
    void handlesAndMessages();
    void memorySourceClampsReadsPastEnd();

private:
    QString writeArchive(const QByteArray &zip)
    {
        const QString path = m_dir->filePath("archive.zip");
        writeFile(path, zip);
        return path;
    }
    QString target() const { return m_dir->filePath("out"); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ZipReader::initTestCase()
{
    // DOS stamps are local time; a fixed zone without daylight saving makes them exact.
    qputenv("TZ", "XYZ-3");
    tzset();
}

void tst_ZipReader::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_ZipReader::cleanedNames_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("reported");
    QTest::newRow("drive") << QByteArray("C:\\x\\a.txt") << QByteArray("x\\a.txt");
    QTest::newRow("absolute") << QByteArray("/abs/b.txt") << QByteArray("abs/b.txt");
    QTest::newRow("climbs inside") << QByteArray("a/../b/../c.txt") << QByteArray("c.txt");
    QTest::newRow("climbs out") << QByteArray("sub/../../c.txt") << QByteArray("../c.txt");
    QTest::newRow("mixed separators") << QByteArray("\\/x") << QByteArray("x");
    QTest::newRow("drive then dots") << QByteArray("C:../x") << QByteArray("../x");
    QTest::newRow("backslash climb") << QByteArray("a\\..\\b") << QByteArray("b");
    QTest::newRow("plain") << QByteArray("dir/file.txt") << QByteArray("dir/file.txt");
}

void tst_ZipReader::cleanedNames()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, reported);
    const QByteArray zip = buildZip({::stored(stored, "x")});
    ZipReader reader(nullptr);
    QCOMPARE(reader.open(zip.constData(), quint64(zip.size()), ZipKindMemory), ZipOk);
    ZipItem item;
    QCOMPARE(reader.getItem(0, &item), ZipOk);
    QCOMPARE(QByteArray(item.name), reported);
}

void tst_ZipReader::extractionStaysInsideTarget_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("landsAt");
    QTest::addColumn<ZipResult>("result");
    QTest::newRow("dot dot slash") << QByteArray("../c.txt") << "c.txt" << ZipOk;
    QTest::newRow("dot dot backslash") << QByteArray("..\\x") << "x" << ZipOk;
    QTest::newRow("drive dot dot") << QByteArray("C:../x") << "x" << ZipOk;
    QTest::newRow("climbs twice") << QByteArray("sub/../../c.txt") << "c.txt" << ZipOk;
    QTest::newRow("deep climb") << QByteArray("a/../../../../../tmp/evil") << "tmp/evil" << ZipOk;
    QTest::newRow("absolute") << QByteArray("/etc/passwd-copy") << "etc/passwd-copy" << ZipOk;
    QTest::newRow("drive absolute") << QByteArray("C:\\x\\a.txt") << "x/a.txt" << ZipOk;
    QTest::newRow("climb inside") << QByteArray("a/./b/../c") << "c" << ZipOk;
    QTest::newRow("single dots") << QByteArray("a/./b/./c") << "a/b/c" << ZipOk;
    QTest::newRow("trailing dots") << QByteArray("a/b/..") << "a/b" << ZipOk;
    QTest::newRow("only dots") << QByteArray("../..") << QString() << ZipCannotOpen;
}

void tst_ZipReader::extractionStaysInsideTarget()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, landsAt);
    QFETCH(ZipResult, result);
    // The target sits two levels down so that a climb has somewhere to land.
    const QString deep = m_dir->filePath("one/two/out");
    QVERIFY(QDir().mkpath(deep));
    const QString archive = m_dir->filePath("archive.zip");
    writeFile(archive, buildZip({::stored(stored, "payload")}));

    QCOMPARE(ExtractZipArchive(QFile::encodeName(archive).constData(), QFile::encodeName(deep).constData()), result);
    QStringList expected{"archive.zip", "one", "one/two", "one/two/out"};
    if (!landsAt.isEmpty()) {
        QString dir = landsAt.section('/', 0, -2);
        while (!dir.isEmpty()) {
            expected << "one/two/out/" + dir;
            dir = dir.section('/', 0, -2);
        }
        expected << "one/two/out/" + landsAt;
        QCOMPARE(readFile(deep + "/" + landsAt), QByteArray("payload"));
    }
    expected.sort();
    QCOMPARE(treeOf(m_dir->path()), expected);
}

void tst_ZipReader::symbolicLinksAreNotFollowed()
{
    const QString outside = m_dir->filePath("outside");
    QVERIFY(QDir().mkpath(outside));
    QVERIFY(QDir().mkpath(target()));
    writeFile(outside + "/victim.txt", "original");
    QVERIFY(QFile::link(outside, target() + "/linkdir"));
    QVERIFY(QFile::link(outside + "/victim.txt", target() + "/linkfile"));

    const QString archive = m_dir->filePath("archive.zip");
    writeFile(archive, buildZip({::stored("linkdir/evil.txt", "evil"), ::stored("linkdir/victim.txt", "evil"),
                                 ::stored("linkfile", "replaced"), folder("linkdir/sub/")}));
    ZipHandle *h = openZipFile(QFile::encodeName(archive).constData(), nullptr);
    QVERIFY(h);
    QCOMPARE(setUnzipBaseDirectory(h, QFile::encodeName(target()).constData()), ZipOk);
    QCOMPARE(unzipItem(h, 0, "linkdir/evil.txt"), ZipCannotOpen);
    QCOMPARE(unzipItem(h, 1, "linkdir/victim.txt"), ZipCannotOpen);
    QCOMPARE(unzipItem(h, 3, "linkdir/sub/"), ZipCannotOpen);
    // A link in the way of a file is replaced by the file; what it pointed at stays as it was.
    QCOMPARE(unzipItem(h, 2, "linkfile"), ZipOk);
    closeZipReader(h);

    QCOMPARE(treeOf(outside), QStringList{"victim.txt"});
    QCOMPARE(readFile(outside + "/victim.txt"), QByteArray("original"));
    QVERIFY(!QFileInfo(target() + "/linkfile").isSymLink());
    QCOMPARE(readFile(target() + "/linkfile"), QByteArray("replaced"));
}

void tst_ZipReader::damagedArchivesFail_data()
{
    QTest::addColumn<QByteArray>("zip");
    QTest::addColumn<ZipResult>("result");
    const QByteArray text = QByteArray("The quick brown fox jumps over the lazy dog. ").repeated(50);
    const QByteArray good = buildZip({deflated("a.txt", text)});

    QTest::newRow("empty file") << QByteArray() << ZipCannotOpen;
    QTest::newRow("not a zip") << QByteArray("hello, this is no archive at all") << ZipCannotOpen;
    QTest::newRow("truncated in half") << good.left(good.size() / 2) << ZipCannotOpen;
    QTest::newRow("end record cut") << good.left(good.size() - 3) << ZipCannotOpen;
    QTest::newRow("more items claimed") << buildZip({stored("a.txt", text)}, 2) << ZipCannotOpen;

    RawEntry flipped = stored("a.txt", text);
    flipped.payload[10] = char(flipped.payload[10] ^ 1);
    QTest::newRow("stored crc mismatch") << buildZip({flipped}) << ZipCorrupt;

    RawEntry badDeflate = deflated("a.txt", text);
    badDeflate.payload[0] = char(0xFF); // reserved block type
    QTest::newRow("deflate data error") << buildZip({badDeflate}) << ZipFlationError;

    RawEntry cutStream = deflated("a.txt", text);
    cutStream.payload.chop(cutStream.payload.size() / 2);
    QTest::newRow("deflate stream cut") << buildZip({cutStream}) << ZipCorrupt;

    RawEntry longer = stored("a.txt", text);
    longer.size = quint32(text.size() - 1);
    QTest::newRow("more data than declared") << buildZip({longer}) << ZipCorrupt;

    QByteArray badLocal = good;
    badLocal[2] = 'X';
    QTest::newRow("local header signature") << badLocal << ZipCorrupt;

    // The central record promises more data than there is before the directory.
    QByteArray overlong = buildZip({stored("a.txt", "abc")});
    const int central = overlong.indexOf("PK\x01\x02");
    overlong[central + 20] = char(0xFF);
    overlong[central + 21] = char(0xFF);
    QTest::newRow("data past the end") << overlong << ZipCorrupt;

    QByteArray farOffset = buildZip({stored("a.txt", "abc")});
    const int c2 = farOffset.indexOf("PK\x01\x02");
    farOffset[c2 + 45] = char(0x7F);
    QTest::newRow("local header past the end") << farOffset << ZipCorrupt;

    RawEntry method = stored("a.txt", "abc");
    method.method = 12;
    QTest::newRow("unknown method") << buildZip({method}) << ZipFlationError;

    RawEntry encrypted = stored("a.txt", QByteArray(20, 'x'));
    encrypted.flags = 1;
    QTest::newRow("encrypted, no password") << buildZip({encrypted}) << ZipPassword;
}

void tst_ZipReader::damagedArchivesFail()
{
    QFETCH(QByteArray, zip);
    QFETCH(ZipResult, result);
    const QString archive = writeArchive(zip);
    const QByteArray path = QFile::encodeName(archive);
    const QByteArray out = QFile::encodeName(target());
    ZipHandle *h = openZipFile(path.constData(), nullptr);
    if (!h) {
        QCOMPARE(lastReaderResult, result);
    } else {
        QCOMPARE(setUnzipBaseDirectory(h, out.constData()), ZipOk);
        QCOMPARE(unzipItem(h, 0, "a.txt"), result);
        char block[64];
        ZipResult r;
        while ((r = unzipItem(h, 0, block, sizeof block)) == ZipMoreData) {
        }
        QCOMPARE(r, result);
        closeZipReader(h);
    }
    // Nothing of a failed item is left, not even a temporary file.
    QCOMPARE(treeOf(target()), QStringList());
}

void tst_ZipReader::failedItemKeepsGoodFileAndIsReported()
{
    QVERIFY(QDir().mkpath(target()));
    writeFile(target() + "/bad.txt", "the good copy");
    RawEntry bad = stored("bad.txt", QByteArray(300000, 'b'));
    bad.payload[299999] = 'c';
    const QString archive = writeArchive(buildZip({stored("first.txt", "1"), bad, stored("last.txt", "3")}));

    // Only the last item succeeds, yet the failure of the one before it is what the caller hears.
    QCOMPARE(ExtractZipArchive(QFile::encodeName(archive).constData(), QFile::encodeName(target()).constData()),
             ZipCorrupt);
    QCOMPARE(treeOf(target()), (QStringList{"bad.txt", "first.txt", "last.txt"}));
    QCOMPARE(readFile(target() + "/bad.txt"), QByteArray("the good copy"));
    QCOMPARE(readFile(target() + "/last.txt"), QByteArray("3"));
}

void tst_ZipReader::readOnlyTargetIsNotReplaced()
{
    QVERIFY(QDir().mkpath(target()));
    const QString locked = target() + "/FNC.txt";
    writeFile(locked, "kept");
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner));
    const QString archive = writeArchive(buildZip({stored("FNC.txt", "new")}));
    QCOMPARE(ExtractZipArchive(QFile::encodeName(archive).constData(), QFile::encodeName(target()).constData()),
             ZipCannotOpen);
    QCOMPARE(readFile(locked), QByteArray("kept"));
    QCOMPARE(treeOf(target()), QStringList{"FNC.txt"});
}

// Random damage anywhere in an archive must end in a result code, never in a crash or a hang.
void tst_ZipReader::mutatedArchivesNeverCrash()
{
    const QByteArray text = QByteArray("0123456789abcdef").repeated(64);
    RawEntry timed = deflated("d/t.txt", text);
    timed.localExtra = utField(7, {1, 2, 3});
    const QByteArray original = buildZip({stored("s.txt", text), timed, folder("d/")});
    quint32 x = 2024;
    auto next = [&x] { return x = x * 1664525 + 1013904223; };
    QByteArray block(300, '\0');
    int opened = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray zip = original;
        const int changes = 1 + int(next() % 4);
        for (int c = 0; c < changes; ++c)
            zip[int(next() % quint32(zip.size()))] = char(next() >> 24);
        if (round % 7 == 0)
            zip.truncate(int(next() % quint32(zip.size())));
        ZipReader reader("pw");
        if (reader.open(zip.constData(), quint64(zip.size()), ZipKindMemory) != ZipOk)
            continue;
        ++opened;
        ZipItem item;
        for (int i = 0; i < reader.itemCount(); ++i) {
            reader.getItem(i, &item);
            for (int calls = 0; calls < 100; ++calls) {
                if (reader.extractItem(i, block.data(), quint64(block.size()), ZipKindMemory) != ZipMoreData)
                    break;
            }
        }
    }
    QVERIFY(opened > 100);
}

void tst_ZipReader::extendedTimeField_data()
{
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<QVector<qint64>>("times"); // write, access, creation; -1 = the DOS time
    const qint32 w = 1600000000, a = 1600000100, c = 1500000000;
    QTest::newRow("all three") << utField(7, {w, a, c}) << QVector<qint64>{w, a, c};
    QTest::newRow("write only") << utField(1, {w}) << QVector<qint64>{w, -1, -1};
    QTest::newRow("write and access") << utField(3, {w, a}) << QVector<qint64>{w, a, -1};
    QTest::newRow("after another block") << QByteArray("XY\x02\x00zz", 6) + utField(1, {w}) << QVector<qint64>{w, -1, -1};
    QTest::newRow("flags promise more than the block holds") << utField(7, {w}) << QVector<qint64>{w, -1, -1};
    QTest::newRow("block size past the field") << utField(7, {w, a, c}, 200) << QVector<qint64>{-1, -1, -1};
    QTest::newRow("size says 13, field ends early") << utField(7, {w, a, c}).left(9) << QVector<qint64>{-1, -1, -1};
    QTest::newRow("empty block") << utField(7, {}, 0) << QVector<qint64>{-1, -1, -1};
    QTest::newRow("truncated header") << QByteArray("UT\x05", 3) << QVector<qint64>{-1, -1, -1};
    QTest::newRow("pre-1970 time") << utField(1, {-86400}) << QVector<qint64>{-86400, -1, -1};
}

void tst_ZipReader::extendedTimeField()
{
    QFETCH(QByteArray, extra);
    QFETCH(QVector<qint64>, times);
    RawEntry e = stored("t.txt", "time");
    e.localExtra = extra;
    const QByteArray zip = buildZip({e});
    ZipReader reader(nullptr);
    QCOMPARE(reader.open(zip.constData(), quint64(zip.size()), ZipKindMemory), ZipOk);
    ZipItem item;
    QCOMPARE(reader.getItem(0, &item), ZipOk);
    // 2020-05-10 12:00:00 at UTC+3.
    const quint64 dos = fileTimeOfUtc(QDateTime(QDate(2020, 5, 10), QTime(9, 0), Qt::UTC));
    auto expect = [&](qint64 t) { return t == -1 ? dos : quint64(t * 10000000LL + 116444736000000000LL); };
    QCOMPARE(item.writeTime, expect(times[0]));
    QCOMPARE(item.accessTime, expect(times[1]));
    QCOMPARE(item.creationTime, expect(times[2]));
}

void tst_ZipReader::attributes_data()
{
    QTest::addColumn<quint16>("versionMadeBy");
    QTest::addColumn<quint32>("external");
    QTest::addColumn<quint32>("attributes");
    QTest::newRow("unix folder, writable") << quint16(0x0314) << 0x40800000u << 0x30u;
    QTest::newRow("unix file, read-only") << quint16(0x0314) << 0x81240000u << 0x21u;
    QTest::newRow("unix file, writable") << quint16(0x0314) << 0x81A40000u << 0x20u;
    QTest::newRow("dos hidden system read-only") << quint16(0x0014) << 0x27u << 0x27u;
    QTest::newRow("ntfs folder") << quint16(0x0B17) << 0x41C00010u << 0x10u;
    QTest::newRow("vfat archive") << quint16(0x0E14) << 0x20u << 0x20u;
    QTest::newRow("os/2 hpfs takes the unix rule") << quint16(0x0614) << 0x01u << 0x21u;
}

void tst_ZipReader::attributes()
{
    QFETCH(quint16, versionMadeBy);
    QFETCH(quint32, external);
    QFETCH(quint32, attributes);
    RawEntry e = stored("f", "x");
    e.versionMadeBy = versionMadeBy;
    e.externalAttributes = external;
    const QByteArray zip = buildZip({e});
    ZipReader reader(nullptr);
    QCOMPARE(reader.open(zip.constData(), quint64(zip.size()), ZipKindMemory), ZipOk);
    ZipItem item;
    QCOMPARE(reader.getItem(0, &item), ZipOk);
    QCOMPARE(item.attributes, attributes);
}

void tst_ZipReader::itemIndexBoundsAndCount()
{
    const QByteArray empty = buildZip({});
    ZipReader reader(nullptr);
    QCOMPARE(reader.open(empty.constData(), quint64(empty.size()), ZipKindMemory), ZipOk);
    ZipItem item;
    QCOMPARE(reader.getItem(-1, &item), ZipOk);
    QCOMPARE(item.index, 0);
    QCOMPARE(QByteArray(item.name), QByteArray());
    QCOMPARE(reader.getItem(0, &item), ZipBadArguments);
    QCOMPARE(reader.open(empty.constData(), quint64(empty.size()), ZipKindMemory), ZipNotInitialised);

    const QByteArray two = buildZip({stored("a", "1"), stored("B.txt", "2")});
    ZipReader r2(nullptr);
    QCOMPARE(r2.open(two.constData(), quint64(two.size()), ZipKindMemory), ZipOk);
    QCOMPARE(r2.getItem(-2, &item), ZipBadArguments);
    QCOMPARE(r2.getItem(2, &item), ZipBadArguments);
    QCOMPARE(r2.getItem(-1, &item), ZipOk);
    QCOMPARE(item.index, 2);
    int index = 7;
    QCOMPARE(r2.findItem("b.txt", false, &index, &item), ZipNotFound);
    QCOMPARE(index, -1);
    QCOMPARE(item.index, -1);
    QCOMPARE(r2.findItem("b.txt", true, &index, &item), ZipOk);
    QCOMPARE(index, 1);
    QCOMPARE(QByteArray(item.name), QByteArray("B.txt"));

    QTemporaryFile empty2;
    QVERIFY(empty2.open());
    empty2.write(empty);
    empty2.close();
    QCOMPARE(ExtractZipArchive(QFile::encodeName(empty2.fileName()).constData(),
                               QFile::encodeName(target()).constData()),
             ZipNotFound);
    QCOMPARE(ExtractZipArchive("/nonexistent/archive.zip", QFile::encodeName(target()).constData()), ZipCannotOpen);
}

void tst_ZipReader::memoryExtractionInChunks()
{
    QByteArray content;
    for (int i = 0; i < 5000; ++i)
        content += QByteArray::number(i * 7919 % 10007) + ',';
    for (const RawEntry &e : {stored("s", content), deflated("d", content)}) {
        const QByteArray zip = buildZip({e});
        ZipHandle *h = openZipMemory(zip.constData(), quint64(zip.size()), nullptr);
        QVERIFY(h);
        const int chunk = 4096;
        QByteArray got;
        QByteArray block(chunk, '\0');
        ZipResult r;
        int calls = 0;
        while ((r = unzipItem(h, 0, block.data(), chunk)) == ZipMoreData) {
            got += block;
            ++calls;
        }
        QCOMPARE(r, ZipOk);
        got += block.left(content.size() - got.size());
        QCOMPARE(calls, content.size() / chunk);
        QCOMPARE(got, content);

        // The call after the end reports the end once more, with nothing; the next one starts over,
        // and a block that holds the entry exactly finishes in one call.
        QCOMPARE(unzipItem(h, 0, block.data(), chunk), ZipOk);
        QByteArray exact(content.size(), '\0');
        QCOMPARE(unzipItem(h, 0, exact.data(), quint64(exact.size())), ZipOk);
        QCOMPARE(exact, content);
        closeZipReader(h);
    }
}

void tst_ZipReader::wholeEntryToFileAndDescriptor()
{
    QByteArray big(1048576, '\0');
    for (int i = 0; i < big.size(); ++i)
        big[i] = char((i * 131) ^ (i >> 9));
    const QString archive = writeArchive(buildZip({deflated("big.bin", big)}));
    ZipHandle *h = openZipFile(QFile::encodeName(archive).constData(), nullptr);
    QVERIFY(h);
    QCOMPARE(setUnzipBaseDirectory(h, QFile::encodeName(target()).constData()), ZipOk);
    QCOMPARE(unzipItem(h, 0, "nested/dir/big.bin"), ZipOk);
    QCOMPARE(readFile(target() + "/nested/dir/big.bin"), big);

    QFile out(m_dir->filePath("by-descriptor"));
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(unzipItem(h, 0, out.handle()), ZipOk);
    out.close();
    QCOMPARE(readFile(out.fileName()), big);
    closeZipReader(h);
}

void tst_ZipReader::emptyEntryAndFolderEntry()
{
    RawEntry empty = stored("sub/empty.txt", QByteArray());
    empty.localExtra = utField(1, {1234567890});
    const QString archive = writeArchive(buildZip({folder("sub/"), empty}));
    ZipHandle *h = openZipFile(QFile::encodeName(archive).constData(), nullptr);
    QVERIFY(h);
    QCOMPARE(setUnzipBaseDirectory(h, QFile::encodeName(target()).constData()), ZipOk);
    QFile sink(m_dir->filePath("sink"));
    QVERIFY(sink.open(QIODevice::WriteOnly));
    QCOMPARE(unzipItem(h, 0, sink.handle()), ZipOk);
    QVERIFY(!QFileInfo::exists(target() + "/sub"));
    QCOMPARE(unzipItem(h, 0, "sub/"), ZipOk);
    QVERIFY(QFileInfo(target() + "/sub").isDir());
    QCOMPARE(unzipItem(h, 1, "sub/empty.txt"), ZipOk);
    closeZipReader(h);
    const QFileInfo info(target() + "/sub/empty.txt");
    QCOMPARE(info.size(), 0);
    QCOMPARE(info.lastModified().toSecsSinceEpoch(), 1234567890);
}

void tst_ZipReader::baseDirectory_data()
{
    QTest::addColumn<QByteArray>("given");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("no separator") << QByteArray("/data/out") << QByteArray("/data/out/");
    QTest::newRow("slash kept") << QByteArray("/data/out/") << QByteArray("/data/out/");
    QTest::newRow("backslash") << QByteArray(".\\") << QByteArray("./");
    QTest::newRow("empty") << QByteArray("") << QByteArray("/");
}

void tst_ZipReader::baseDirectory()
{
    QFETCH(QByteArray, given);
    QFETCH(QByteArray, stored);
    const QByteArray zip = buildZip({});
    ZipReader reader(nullptr);
    QCOMPARE(reader.open(zip.constData(), quint64(zip.size()), ZipKindMemory), ZipOk);
    QCOMPARE(reader.baseDirectory(), QFile::encodeName(QDir::currentPath()) + '/');
    QCOMPARE(reader.setBaseDirectory(given.constData()), ZipOk);
    QCOMPARE(reader.baseDirectory(), stored);
}

void tst_ZipReader::overlongNameFailsInsteadOfTruncating()
{
    const QByteArray fits = "d/" + QByteArray(257, 'n');
    const QByteArray tooLong = "d/" + QByteArray(258, 'n');
    const QString archive = writeArchive(buildZip({stored(fits, "a"), stored(tooLong, "b")}));
    ZipHandle *h = openZipFile(QFile::encodeName(archive).constData(), nullptr);
    QVERIFY(h);
    ZipItem item;
    QCOMPARE(getZipItem(h, 0, &item), ZipOk);
    QCOMPARE(QByteArray(item.name), fits);
    QCOMPARE(getZipItem(h, 1, &item), ZipCannotOpen);
    closeZipReader(h);
    QCOMPARE(ExtractZipArchive(QFile::encodeName(archive).constData(), QFile::encodeName(target()).constData()),
             ZipCannotOpen);
    QCOMPARE(treeOf(target()), QStringList{"d"});
}

void tst_ZipReader::handlesAndMessages()
{
    QVERIFY(!openZipFile("/nonexistent/x.zip", nullptr));
    char buffer[10];
    QCOMPARE(zipReaderMessage(ZipLastResult, buffer, sizeof buffer), 25);
    QCOMPARE(QByteArray(buffer), QByteArray("Couldn't "));
    QCOMPARE(zipReaderMessage(0x1000, nullptr, 0), int(strlen("Correct password required")));
    QCOMPARE(zipReaderMessage(0x1234, buffer, 1), int(strlen("unknown zip result code")));
    QCOMPARE(QByteArray(buffer), QByteArray());

    QCOMPARE(getZipItem(nullptr, 0, nullptr), ZipBadArguments);
    ZipHandle writerHandle{ZipHandle::Writer, nullptr};
    ZipItem item;
    QCOMPARE(getZipItem(&writerHandle, 0, &item), ZipMixedHandle);
    QCOMPARE(lastReaderResult, ZipMixedHandle);
    QVERIFY(!isZipReaderHandle(&writerHandle));
    QVERIFY(!isZipReaderHandle(nullptr));
    QVERIFY(!openZipArchive("x", 0, 5, nullptr));
    QCOMPARE(lastReaderResult, ZipBadArguments);

    // A pipe cannot be positioned, and the directory sits at the end.
    int fds[2];
    QCOMPARE(pipe(fds), 0);
    QVERIFY(!openZipHandle(fds[0], nullptr));
    QCOMPARE(lastReaderResult, ZipCannotSeek);
    close(fds[0]);
    close(fds[1]);

    // An archive that begins in the middle of a descriptor's file is read from there.
    const QByteArray zip = buildZip({stored("a.txt", "inner")});
    QFile f(m_dir->filePath("prefixed"));
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.write(QByteArray(1000, 'p') + zip);
    f.seek(1000);
    ZipHandle *h = openZipHandle(f.handle(), nullptr);
    QVERIFY(h);
    QVERIFY(isZipReaderHandle(h));
    char block[16] = {};
    QCOMPARE(unzipItem(h, 0, block, sizeof block), ZipOk);
    QCOMPARE(QByteArray(block), QByteArray("inner"));
    QCOMPARE(closeZipReader(h), ZipOk);
}

void tst_ZipReader::memorySourceClampsReadsPastEnd()
{
    const QByteArray data("0123456789");
    ZipResult r;
    ZipSource *s = ZipSource::open(data.constData(), quint64(data.size()), ZipKindMemory, &r);
    QVERIFY(s);
    char buffer[32];
    QCOMPARE(s->seek(20, 0), 0);
    QCOMPARE(s->read(buffer, 1, 5), quint64(0));
    QCOMPARE(s->seek(-4, 2), 0);
    QCOMPARE(s->read(buffer, 1, 10), quint64(4));
    QCOMPARE(QByteArray(buffer, 4), QByteArray("6789"));
    QCOMPARE(s->seek(1, 0), 0);
    QCOMPARE(s->read(buffer, 4, 3), quint64(2)); // 9 bytes left: two whole items
    QCOMPARE(s->tell(), quint64(10));
    QVERIFY(!s->readAt(8, buffer, 3));
    QCOMPARE(ZipSource::close(s), 0);
    QCOMPARE(ZipSource::close(nullptr), -1);
    QVERIFY(!ZipSource::open(nullptr, 0, 9, &r));
    QCOMPARE(r, ZipBadArguments);
}

QTEST_GUILESS_MAIN(tst_ZipReader)
#include "tst_zipreader.moc"
