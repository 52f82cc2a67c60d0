#include "zip/ziparchive.h"

#include <QtTest>

// Deflate and inflate on a few megabytes beside the system's zip and unzip on the same data.
// The figures are printed as ratios for comparison; only the round trip is checked.
class tst_ZipBench : public QObject {
    Q_OBJECT
private slots:
    void deflateAndInflateAgainstTools();
};

namespace {

qint64 timeIt(const std::function<void()> &work, int repeats)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < repeats; ++i)
        work();
    return t.nsecsElapsed() / repeats;
}

int runTool(const QString &program, const QStringList &args, const QString &dir)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(program, args);
    p.waitForFinished(60000);
    return p.exitCode();
}

} // namespace

void tst_ZipBench::deflateAndInflateAgainstTools()
{
    if (!QFileInfo("/usr/bin/zip").isExecutable() || !QFileInfo("/usr/bin/unzip").isExecutable())
        QSKIP("zip and unzip are needed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The suite runs a short pass; TAVIRON_ZIP_BENCH_MB asks for a longer, repeated one.
    const int asked = qEnvironmentVariableIntValue("TAVIRON_ZIP_BENCH_MB");
    const int megabytes = asked > 0 ? asked : 2;
    const int repeats = asked > 0 ? 3 : 1;

    // Parameter-list-like text with a share of noise, as documents and workbooks hold.
    QByteArray data;
    quint32 x = 7;
    while (data.size() < megabytes << 20) {
        x = x * 1103515245 + 12345;
        data += "P." + QByteArray::number(x % 1600) + "\t" + QByteArray::number((x >> 8) % 10000) + "\tHz\t";
        if ((x >> 16) % 8 == 0)
            for (int i = 0; i < 32; ++i)
                data += char(x >> (i % 24));
        data += "\r\n";
    }
    const QString input = dir.filePath("data.txt");
    {
        QFile f(input);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

    const QString ours = dir.filePath("ours.zip"), theirs = dir.filePath("theirs.zip");
    const qint64 ourDeflate = timeIt([&] {
        QFile::remove(ours);
        ZipArchiveWriter w;
        w.create(ours);
        w.addFile("data.txt", input);
        w.close();
    }, repeats);
    const qint64 zipDeflate = timeIt([&] {
        QFile::remove(theirs);
        runTool("/usr/bin/zip", {"-q", "-8", "-X", theirs, "data.txt"}, dir.path());
    }, repeats);

    const qint64 ourInflate = timeIt([&] {
        ZipArchiveReader r;
        r.openFile(theirs);
        r.extractAll(dir.filePath("here"));
    }, repeats);
    QFile back(dir.filePath("here/data.txt"));
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), data);
    const qint64 unzipInflate = timeIt([&] {
        runTool("/usr/bin/unzip", {"-qq", "-o", theirs, "-d", dir.filePath("u")}, dir.path());
    }, repeats);
    ZipArchiveReader check;
    QCOMPARE(check.openFile(ours), ZipOk);
    QByteArray read;
    QCOMPARE(check.read("data.txt", &read), ZipOk);
    QCOMPARE(read, data);

    const double ourSize = QFileInfo(ours).size(), zipSize = QFileInfo(theirs).size();
    qInfo("%d MiB: compressed to %.1f%% here, %.1f%% by zip -8 (size ratio %.3f)", megabytes,
          100.0 * ourSize / data.size(), 100.0 * zipSize / data.size(), ourSize / zipSize);
    qInfo("deflate time ratio (here / zip -8): %.2f", double(ourDeflate) / double(zipDeflate));
    qInfo("inflate time ratio (here / unzip, both to a file): %.2f", double(ourInflate) / double(unzipInflate));
}

QTEST_GUILESS_MAIN(tst_ZipBench)
#include "tst_zipbench.moc"
