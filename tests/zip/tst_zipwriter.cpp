#include "zip/zipreader.h"
#include "zip/zipwriter.h"

#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <zlib.h>

namespace {

quint16 le16(const QByteArray &b, int at) { return quint16(uchar(b[at]) | uchar(b[at + 1]) << 8); }
quint32 le32(const QByteArray &b, int at) { return quint32(le16(b, at)) | quint32(le16(b, at + 2)) << 16; }

quint32 crcOf(const QByteArray &d) { return quint32(crc32(0, reinterpret_cast<const Bytef *>(d.constData()), uInt(d.size()))); }

QByteArray inflateRaw(const QByteArray &data)
{
    z_stream z = {};
    inflateInit2(&z, -MAX_WBITS);
    QByteArray out(1 << 20, '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    const int r = inflate(&z, Z_FINISH);
    out.resize(r == Z_STREAM_END ? int(z.total_out) : 0);
    inflateEnd(&z);
    return out;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

void setTimes(const QString &path, qint64 access, qint64 modified)
{
    const struct timespec times[2] = {{time_t(access), 0}, {time_t(modified), 0}};
    QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

constexpr quint32 dosStamp(int y, int mo, int d, int h, int mi, int s)
{
    return quint32((y - 1980) << 9 | mo << 5 | d) << 16 | quint32(h << 11 | mi << 5 | s / 2);
}

// Writes one archive into memory with the given entries and returns its bytes.
struct MemoryArchive {
    QByteArray block = QByteArray(1 << 20, '\0');
    ZipWriter writer;
    explicit MemoryArchive(const char *password = nullptr)
        : writer(password)
    {
        writer.create(block.data(), quint64(block.size()), ZipKindMemory);
    }
    QByteArray finish()
    {
        void *b = nullptr;
        quint64 n = 0;
        return writer.getMemory(&b, &n) == ZipOk ? QByteArray(static_cast<char *>(b), int(n)) : QByteArray();
    }
};

int centralOf(const QByteArray &zip) { return int(le32(zip, zip.size() - 6)); }

} // namespace

Q_DECLARE_METATYPE(ZipResult *)

class tst_ZipWriter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void documentArchiveBytes();
    void missingInputIsReported();
    void storedOrDeflated_data();
    void storedOrDeflated();
    void folderEntry();
    void backslashesBecomeSlashes();
    void encryptedEntryLayout();
    void memoryCapacityKeepsOneByteFree();
    void refusedAfterEndOrError();
    void dosTimeIsLocalAndClamped_data();
    void dosTimeIsLocalAndClamped();
    void unseekableOutputUsesDescriptors();
    void sizesTheFormatCannotHold();
    void tooManyEntries();
    void shortWritesAreErrors();
    void handlesAndMessages();
    void ownerExecuteOnlyForWindowsExecutables_data();
    void ownerExecuteOnlyForWindowsExecutables();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ZipWriter::initTestCase()
{
    qputenv("TZ", "XYZ-3"); // UTC+3 all year
    tzset();
}

void tst_ZipWriter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_ZipWriter::documentArchiveBytes()
{
    const QByteArray content = "Station:5,DR-A-0.75K\r\nlanguageType:0\r\nCOM:0-COM1-1-1-0-0-1-10\r\n";
    const QString old = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    writeFile("station.txt", content);
    QFile::setPermissions("station.txt", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const qint64 modified = QDateTime(QDate(2021, 6, 15), QTime(11, 31, 58), Qt::UTC).toSecsSinceEpoch();
    setTimes("station.txt", modified + 3600, modified);
    const ZipResult r = CreateZipArchive({"station.txt"}, "doc.tv");
    QDir::setCurrent(old);
    QCOMPARE(r, ZipOk);

    const QByteArray zip = readFile(m_dir->filePath("doc.tv"));
    const int cd = centralOf(zip);
    const quint32 stamp = dosStamp(2021, 6, 15, 14, 31, 58);
    const int dataLength = cd - 30 - 11 - 17;
    QCOMPARE(zip.left(4), QByteArray("PK\x03\x04"));
    QCOMPARE(le16(zip, 4), quint16(20));
    QCOMPARE(le16(zip, 6), quint16(2));
    QCOMPARE(le16(zip, 8), quint16(8));
    QCOMPARE(le32(zip, 10), stamp);
    QCOMPARE(le32(zip, 14), crcOf(content));
    QCOMPARE(le32(zip, 18), quint32(dataLength));
    QCOMPARE(le32(zip, 22), quint32(content.size()));
    QCOMPARE(le16(zip, 26), quint16(11));
    QCOMPARE(le16(zip, 28), quint16(17));
    QCOMPARE(zip.mid(30, 11), QByteArray("station.txt"));
    QCOMPARE(zip.mid(41, 5), QByteArray("UT\x0D\x00\x07", 5));
    QCOMPARE(le32(zip, 46), quint32(modified));
    QCOMPARE(le32(zip, 50), quint32(modified + 3600));
    QCOMPARE(inflateRaw(zip.mid(58, dataLength)), content);

    QCOMPARE(zip.mid(cd, 4), QByteArray("PK\x01\x02"));
    QCOMPARE(le16(zip, cd + 4), quint16(0x0B17));
    QCOMPARE(le16(zip, cd + 6), quint16(20));
    QCOMPARE(le16(zip, cd + 8), quint16(2));
    QCOMPARE(le16(zip, cd + 10), quint16(8));
    QCOMPARE(le32(zip, cd + 12), stamp);
    QCOMPARE(le32(zip, cd + 16), crcOf(content));
    QCOMPARE(le32(zip, cd + 20), quint32(dataLength));
    QCOMPARE(le32(zip, cd + 24), quint32(content.size()));
    QCOMPARE(le16(zip, cd + 28), quint16(11));
    QCOMPARE(le16(zip, cd + 30), quint16(9));
    QCOMPARE(le32(zip, cd + 32), 0u); // comment length, disk
    QCOMPARE(le16(zip, cd + 36), quint16(0));
    QCOMPARE(le32(zip, cd + 38), 0x81800020u);
    QCOMPARE(le32(zip, cd + 42), 0u);
    QCOMPARE(zip.mid(cd + 46, 11), QByteArray("station.txt"));
    QCOMPARE(zip.mid(cd + 57, 5), QByteArray("UT\x05\x00\x07", 5));
    QCOMPARE(le32(zip, cd + 62), quint32(modified));

    const int end = cd + 66;
    QCOMPARE(zip.size(), end + 22);
    QCOMPARE(zip.mid(end, 8), QByteArray("PK\x05\x06\0\0\0\0", 8));
    QCOMPARE(le16(zip, end + 8), quint16(1));
    QCOMPARE(le16(zip, end + 10), quint16(1));
    QCOMPARE(le32(zip, end + 12), 66u);
    QCOMPARE(le32(zip, end + 16), quint32(cd));
    QCOMPARE(le16(zip, end + 20), quint16(0));
}

void tst_ZipWriter::missingInputIsReported()
{
    const QString archive = m_dir->filePath("doc.tv");
    QCOMPARE(CreateZipArchive({m_dir->filePath("absent.txt")}, archive), ZipCannotOpen);
    const QByteArray zip = readFile(archive);
    QCOMPARE(zip, QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
    QCOMPARE(CreateZipArchive({}, m_dir->filePath("no/such/folder.tv")), ZipCannotOpen);
}

void tst_ZipWriter::storedOrDeflated_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<quint16>("method");
    QTest::addColumn<quint16>("flags");
    QTest::newRow("ZIP") << QByteArray("a.ZIP") << quint16(0) << quint16(0);
    QTest::newRow("tgz") << QByteArray("dir.x/b.tgz") << quint16(0) << quint16(0);
    QTest::newRow("Gz") << QByteArray("c.Gz") << quint16(0) << quint16(0);
    QTest::newRow("zip.txt") << QByteArray("c.zip.txt") << quint16(8) << quint16(2);
    QTest::newRow("zipx") << QByteArray("c.zipx") << quint16(8) << quint16(2);
    QTest::newRow("no suffix") << QByteArray("README") << quint16(8) << quint16(2);
    QTest::newRow("dot in folder only") << QByteArray("v1.2/notes") << quint16(8) << quint16(2);
}

void tst_ZipWriter::storedOrDeflated()
{
    QFETCH(QByteArray, name);
    QFETCH(quint16, method);
    QFETCH(quint16, flags);
    const QByteArray data = QByteArray("abcabcabc").repeated(100);
    MemoryArchive a;
    QCOMPARE(a.writer.add(name.constData(), data.constData(), quint64(data.size()), ZipKindMemory), ZipOk);
    const QByteArray zip = a.finish();
    const int cd = centralOf(zip);
    QCOMPARE(le16(zip, 6), flags);
    QCOMPARE(le16(zip, 8), method);
    QCOMPARE(le16(zip, cd + 8), flags);
    QCOMPARE(le16(zip, cd + 10), method);
    QCOMPARE(le32(zip, cd + 38), 0x80000000u);
    const QByteArray stored = zip.mid(30 + name.size() + 17, int(le32(zip, 18)));
    QCOMPARE(method == 0 ? stored : inflateRaw(stored), data);
}

void tst_ZipWriter::folderEntry()
{
    MemoryArchive a("secret");
    QCOMPARE(a.writer.add("docs", nullptr, 0, ZipKindFolder), ZipOk);
    QCOMPARE(a.writer.add("more/", nullptr, 0, ZipKindFolder), ZipOk);
    const QByteArray zip = a.finish();
    const int cd = centralOf(zip);
    QCOMPARE(zip.mid(30, 5), QByteArray("docs/"));
    QCOMPARE(le16(zip, 6), quint16(0));
    QCOMPARE(le16(zip, 8), quint16(0));
    QCOMPARE(le32(zip, 18), 0u);
    QCOMPARE(le32(zip, 22), 0u);
    QCOMPARE(le32(zip, cd + 38), 0x41C00010u);
    // No encryption header: the second entry follows the first's extra field directly.
    QCOMPARE(zip.mid(30 + 5 + 17, 4), QByteArray("PK\x03\x04"));
    QCOMPARE(zip.mid(30 + 5 + 17 + 30, 5), QByteArray("more/"));
}

void tst_ZipWriter::backslashesBecomeSlashes()
{
    MemoryArchive a;
    QCOMPARE(a.writer.add("a\\b\\c.txt", "x", 1, ZipKindMemory), ZipOk);
    QCOMPARE(a.writer.add("", "x", 1, ZipKindMemory), ZipBadArguments);
    QCOMPARE(a.writer.add("n", "x", 0, ZipKindMemory), ZipBadArguments);
    QCOMPARE(a.writer.add("n", "x", 1, 9), ZipBadArguments);
    const QByteArray zip = a.finish();
    QCOMPARE(zip.mid(30, 9), QByteArray("a/b/c.txt"));
    QCOMPARE(le16(zip, zip.size() - 12), quint16(1));
}

void tst_ZipWriter::encryptedEntryLayout()
{
    const QByteArray data = QByteArray("0123456789").repeated(30);
    for (const char *name : {"plain.txt", "stored.zip"}) {
        MemoryArchive a("pw");
        QCOMPARE(a.writer.add(name, data.constData(), quint64(data.size()), ZipKindMemory), ZipOk);
        const QByteArray zip = a.finish();
        const int cd = centralOf(zip);
        const int n = int(strlen(name));
        const quint32 compressed = le32(zip, cd + 20);
        QCOMPARE(le16(zip, 6), quint16(9));
        QCOMPARE(le16(zip, cd + 8), quint16(9));
        const int descriptor = 30 + n + 17 + int(compressed);
        QCOMPARE(descriptor + 16, cd);
        QCOMPARE(zip.mid(descriptor, 4), QByteArray("PK\x07\x08"));
        QCOMPARE(le32(zip, descriptor + 4), crcOf(data));
        QCOMPARE(le32(zip, descriptor + 8), compressed);
        QCOMPARE(le32(zip, descriptor + 12), quint32(data.size()));
        QCOMPARE(le32(zip, cd + 16), crcOf(data));
        if (QByteArray(name).endsWith(".zip"))
            QCOMPARE(compressed, quint32(data.size() + 12));
        // The data never appears in clear.
        QVERIFY(!zip.contains("0123456789"));
    }
}

void tst_ZipWriter::memoryCapacityKeepsOneByteFree()
{
    const QByteArray data("twelve bytes");
    MemoryArchive probe;
    probe.writer.add("a.zip", data.constData(), quint64(data.size()), ZipKindMemory);
    const int length = probe.finish().size();
    QCOMPARE(length, 30 + 5 + 17 + 12 + 46 + 5 + 9 + 22);

    QByteArray exact(length, '\0');
    ZipWriter tight(nullptr);
    QCOMPARE(tight.create(exact.data(), quint64(exact.size()), ZipKindMemory), ZipOk);
    QCOMPARE(tight.add("a.zip", data.constData(), quint64(data.size()), ZipKindMemory), ZipOk);
    QCOMPARE(tight.close(), ZipMemoryTooSmall);

    QByteArray roomy(length + 1, '\0');
    ZipWriter fits(nullptr);
    QCOMPARE(fits.create(roomy.data(), quint64(roomy.size()), ZipKindMemory), ZipOk);
    QCOMPARE(fits.add("a.zip", data.constData(), quint64(data.size()), ZipKindMemory), ZipOk);
    void *b = nullptr;
    quint64 n = 0;
    QCOMPARE(fits.getMemory(&b, &n), ZipOk);
    QCOMPARE(n, quint64(length));
    QCOMPARE(b, static_cast<void *>(roomy.data()));

    // With no block given the writer allocates its own.
    ZipHandle *h = createZipMemory(nullptr, 4096, nullptr);
    QVERIFY(h);
    QCOMPARE(zipAddMemory(h, "a.zip", data.constData(), quint64(data.size())), ZipOk);
    QCOMPARE(zipGetMemory(h, &b, &n), ZipOk);
    QCOMPARE(QByteArray(static_cast<char *>(b), int(n)).mid(52, 12), data);
    QCOMPARE(closeZipWriter(h), ZipOk);
    QVERIFY(!createZipMemory(nullptr, 0, nullptr));
    QCOMPARE(lastWriterResult, ZipMemoryTooSmall);
}

void tst_ZipWriter::refusedAfterEndOrError()
{
    MemoryArchive a;
    a.finish();
    QCOMPARE(a.writer.add("x", "1", 1, ZipKindMemory), ZipAlreadyEnded);

    QByteArray small(60, '\0');
    ZipWriter w(nullptr);
    QCOMPARE(w.create(small.data(), quint64(small.size()), ZipKindMemory), ZipOk);
    QCOMPARE(w.add("x.zip", QByteArray(100, 'x').constData(), 100, ZipKindMemory), ZipMemoryTooSmall);
    QCOMPARE(w.add("y", "1", 1, ZipKindMemory), ZipPreviousError);
    QCOMPARE(w.create(small.data(), quint64(small.size()), ZipKindMemory), ZipNotInitialised);

    ZipWriter path(nullptr);
    QCOMPARE(path.create(QFile::encodeName(m_dir->filePath("none/x.zip")).constData(), 0, ZipKindPath), ZipCannotOpen);
    void *b;
    quint64 n;
    ZipWriter file(nullptr);
    QCOMPARE(file.create(QFile::encodeName(m_dir->filePath("x.zip")).constData(), 0, ZipKindPath), ZipOk);
    QCOMPARE(file.getMemory(&b, &n), ZipNotMemoryArchive);
}

void tst_ZipWriter::dosTimeIsLocalAndClamped_data()
{
    QTest::addColumn<QDateTime>("modified");
    QTest::addColumn<quint32>("stamp");
    QTest::newRow("odd second") << QDateTime(QDate(2021, 6, 15), QTime(11, 31, 59), Qt::UTC)
                                << dosStamp(2021, 6, 15, 14, 31, 58);
    QTest::newRow("local date is the next day") << QDateTime(QDate(2019, 12, 31), QTime(22, 0, 0), Qt::UTC)
                                                << dosStamp(2020, 1, 1, 1, 0, 0);
    QTest::newRow("first day") << QDateTime(QDate(1979, 12, 31), QTime(21, 0, 0), Qt::UTC)
                               << dosStamp(1980, 1, 1, 0, 0, 0);
    QTest::newRow("before 1980") << QDateTime(QDate(1975, 3, 1), QTime(8, 0, 0), Qt::UTC)
                                 << dosStamp(1980, 1, 1, 0, 0, 0);
    QTest::newRow("Unix epoch") << QDateTime(QDate(1970, 1, 1), QTime(0, 0, 0), Qt::UTC)
                                << dosStamp(1980, 1, 1, 0, 0, 0);
    QTest::newRow("last day") << QDateTime(QDate(2107, 12, 31), QTime(20, 59, 59), Qt::UTC)
                              << dosStamp(2107, 12, 31, 23, 59, 58);
    QTest::newRow("after 2107") << QDateTime(QDate(2150, 7, 1), QTime(0, 0, 0), Qt::UTC)
                                << dosStamp(2107, 12, 31, 23, 59, 58);
}

void tst_ZipWriter::dosTimeIsLocalAndClamped()
{
    QFETCH(QDateTime, modified);
    QFETCH(quint32, stamp);
    const QString input = m_dir->filePath("in.txt");
    writeFile(input, "t");
    const qint64 t = modified.toSecsSinceEpoch();
    setTimes(input, t, t);
    MemoryArchive a;
    QCOMPARE(a.writer.add("in.txt", QFile::encodeName(input).constData(), 0, ZipKindPath), ZipOk);
    const QByteArray zip = a.finish();
    QCOMPARE(le32(zip, 10), stamp);
    QCOMPARE(le32(zip, centralOf(zip) + 12), stamp);
    // The "UT" field carries true UTC.
    if (t >= INT_MIN && t <= INT_MAX)
        QCOMPARE(qint32(le32(zip, 30 + 6 + 5)), qint32(t));
}

void tst_ZipWriter::unseekableOutputUsesDescriptors()
{
    int fds[2];
    QCOMPARE(pipe(fds), 0);
    ZipHandle *h = createZipHandle(fds[1], nullptr);
    QVERIFY(h);
    const QByteArray data = QByteArray("pipe").repeated(10);
    QCOMPARE(zipAddMemory(h, "d.txt", data.constData(), quint64(data.size())), ZipOk);
    QCOMPARE(zipAddMemory(h, "s.zip", data.constData(), quint64(data.size())), ZipOk);
    // A stored entry of unknown size cannot be described before its data on a pipe.
    int in[2];
    QCOMPARE(pipe(in), 0);
    QCOMPARE(write(in[1], "abc", 3), ssize_t(3));
    close(in[1]);
    QCOMPARE(zipAddHandle(h, "u.zip", in[0]), ZipCannotChange);
    close(in[0]);
    QCOMPARE(closeZipWriter(h), ZipOk);
    close(fds[1]);
    QFile reader;
    QVERIFY(reader.open(fds[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    const QByteArray zip = reader.readAll();

    QCOMPARE(le16(zip, 6), quint16(8));
    const int d1 = 30 + 5 + 17 + int(le32(zip, centralOf(zip) + 20));
    QCOMPARE(zip.mid(d1, 4), QByteArray("PK\x07\x08"));
    QCOMPARE(le32(zip, d1 + 12), quint32(data.size()));
    const int second = d1 + 16;
    QCOMPARE(le16(zip, second + 6), quint16(8));
    QCOMPARE(le16(zip, second + 8), quint16(0));
    QCOMPARE(zip.mid(second + 30 + 5 + 17, data.size()), data);
    QCOMPARE(zip.mid(second + 30 + 5 + 17 + data.size(), 4), QByteArray("PK\x07\x08"));
    // Both entries are listed and read back whole.
    ZipReader check(nullptr);
    QCOMPARE(check.open(zip.constData(), quint64(zip.size()), ZipKindMemory), ZipOk);
    QCOMPARE(check.itemCount(), 2);
    for (int i = 0; i < 2; ++i) {
        QByteArray out(data.size(), '\0');
        QCOMPARE(check.extractItem(i, out.data(), quint64(out.size()), ZipKindMemory), ZipOk);
        QCOMPARE(out, data);
    }
}

void tst_ZipWriter::sizesTheFormatCannotHold()
{
    const QString huge = m_dir->filePath("huge.bin");
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(1) << 32)); // sparse: nothing is stored
    }
    const QString archive = m_dir->filePath("a.zip");
    ZipHandle *h = createZipFile(QFile::encodeName(archive).constData(), nullptr);
    QVERIFY(h);
    QCOMPARE(zipAddMemory(h, "before.txt", "b", 1), ZipOk);
    QCOMPARE(zipAddFile(h, "huge.bin", QFile::encodeName(huge).constData()), ZipBadArguments);
    static const char one = 'x';
    QCOMPARE(zipAddMemory(h, "huge2.bin", &one, quint64(1) << 32), ZipBadArguments);
    QCOMPARE(zipAddMemory(h, "after.txt", "a", 1), ZipOk);
    QCOMPARE(closeZipWriter(h), ZipOk);
    QVERIFY(QFileInfo(archive).size() < 1000);

    ZipHandle *r = openZipFile(QFile::encodeName(archive).constData(), nullptr);
    QVERIFY(r);
    ZipItem item;
    QCOMPARE(getZipItem(r, -1, &item), ZipOk);
    QCOMPARE(item.index, 2);
    QCOMPARE(getZipItem(r, 1, &item), ZipOk);
    QCOMPARE(QByteArray(item.name), QByteArray("after.txt"));
    char c = 0;
    QCOMPARE(unzipItem(r, 1, &c, 1), ZipOk);
    QCOMPARE(c, 'a');
    closeZipReader(r);
}

void tst_ZipWriter::tooManyEntries()
{
    ZipHandle *h = createZipMemory(nullptr, 16 << 20, nullptr);
    QVERIFY(h);
    char name[16];
    for (int i = 0; i < 65535; ++i) {
        snprintf(name, sizeof name, "%x", i);
        if (zipAddFolder(h, name) != ZipOk)
            QFAIL(name);
    }
    QCOMPARE(zipAddFolder(h, "one-more"), ZipBadArguments);
    void *b = nullptr;
    quint64 n = 0;
    QCOMPARE(zipGetMemory(h, &b, &n), ZipOk);
    const QByteArray zip(static_cast<char *>(b), int(n));
    QCOMPARE(le16(zip, zip.size() - 12), quint16(65535));
    ZipReader check(nullptr);
    QCOMPARE(check.open(zip.constData(), quint64(zip.size()), ZipKindMemory), ZipOk);
    QCOMPARE(check.itemCount(), 65535);
    closeZipWriter(h);
}

void tst_ZipWriter::shortWritesAreErrors()
{
    // A file size limit makes the kernel write only some of a block before refusing.
    struct rlimit old;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = old;
    limited.rlim_cur = 20000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);

    QByteArray noise(100000, '\0');
    quint32 x = 12345;
    for (char &c : noise) {
        x = x * 1103515245 + 12345;
        c = char(x >> 23);
    }
    QVector<ZipResult> results;
    for (const char *name : {"noise.bin", "noise.zip"}) {
        ZipHandle *h = createZipFile(QFile::encodeName(m_dir->filePath(name)).constData(), nullptr);
        QVERIFY(h);
        results << zipAddMemory(h, name, noise.constData(), quint64(noise.size()));
        results << zipAddMemory(h, "next", "n", 1);
        closeZipWriter(h);
    }
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    QCOMPARE(results, (QVector<ZipResult>{ZipWriteFailed, ZipPreviousError, ZipWriteFailed, ZipPreviousError}));

    const int full = open("/dev/full", O_WRONLY);
    if (full >= 0) {
        ZipHandle *h = createZipHandle(full, nullptr);
        QCOMPARE(zipAddMemory(h, "a.txt", "abc", 3), ZipWriteFailed);
        QCOMPARE(closeZipWriter(h), ZipWriteFailed);
        close(full);
    }
}

void tst_ZipWriter::handlesAndMessages()
{
    char buffer[64];
    QCOMPARE(zipWriterMessage(0x1000, buffer, sizeof buffer), int(strlen("unknown zip result code")));
    QCOMPARE(QByteArray(buffer), QByteArray("unknown zip result code"));
    QCOMPARE(zipWriterMessage(0x30000, buffer, sizeof buffer),
             int(strlen("Caller: not enough space allocated for memory zipfile")));
    ZipHandle readerHandle{ZipHandle::Reader, nullptr};
    QCOMPARE(zipAddFolder(&readerHandle, "x"), ZipMixedHandle);
    QCOMPARE(zipWriterMessage(ZipLastResult, buffer, 8), int(strlen("Caller: mixing creation and opening of zip")));
    QCOMPARE(QByteArray(buffer), QByteArray("Caller:"));
    QCOMPARE(zipAddFolder(nullptr, "x"), ZipBadArguments);
    void *b = &b;
    quint64 n = 5;
    QCOMPARE(zipGetMemory(nullptr, &b, &n), ZipBadArguments);
    QVERIFY(!b);
    QCOMPARE(n, quint64(0));
    QVERIFY(!isZipWriterHandle(&readerHandle));
    QVERIFY(!createZipWriter(nullptr, 0, 7, nullptr));
    QCOMPARE(lastWriterResult, ZipBadArguments);
}

void tst_ZipWriter::ownerExecuteOnlyForWindowsExecutables_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("executableBit");
    QTest::addColumn<quint32>("attributes");
    // The headers the writer recognises: 0x54AD first, at offset 36 the offset h of a signature.
    QByteArray windows(100, '\0');
    windows[0] = char(0xAD);
    windows[1] = char(0x54);
    windows[36] = 40;
    windows[40] = 'P';
    windows[41] = 'E';
    const QByteArray script = "#!/bin/sh\necho a script that Unix runs but no Windows would\n";
    QTest::newRow("Unix script with its execute bit") << script << true << 0x81800020u;
    QTest::newRow("Windows header") << windows << false << 0x81C00020u;
    QTest::newRow("Windows header, signature past the end") << windows.left(90) << false << 0x81800020u;
    QTest::newRow("plain text") << QByteArray("text") << false << 0x81800020u;
}

void tst_ZipWriter::ownerExecuteOnlyForWindowsExecutables()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, executableBit);
    QFETCH(quint32, attributes);
    const QString input = m_dir->filePath("input.bin");
    writeFile(input, content);
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executableBit)
        permissions |= QFile::ExeOwner;
    QVERIFY(QFile::setPermissions(input, permissions));
    MemoryArchive a;
    QCOMPARE(a.writer.add("input.bin", QFile::encodeName(input).constData(), 0, ZipKindPath), ZipOk);
    const QByteArray zip = a.finish();
    QCOMPARE(le32(zip, centralOf(zip) + 38), attributes);
}

QTEST_GUILESS_MAIN(tst_ZipWriter)
#include "tst_zipwriter.moc"
