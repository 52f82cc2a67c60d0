// Every kind of file the program saves, saved onto a full disk (a filled tmpfs in a mount namespace of
// this process, where it may mount one) and onto a file system that fails one step of the save: the
// old file stays byte for byte, the reason is the file system's, no temporary file is left.

#include "monitor/plotvaluefile.h"
#include "monitor/trenddatafile.h"
#include "parameter/parameterlistfile.h"
#include "platform/appstate.h"
#include "platform/filesave.h"
#include "shell/document.h"
#include "shell/operationlog.h"
#include "testfiles.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

using namespace ParameterListFile;

// A save into folder/target (path), false with the reason. The log's trim and the update give no
// reason: the one tells nobody, the other says "Update false!".
struct Kind {
    const char *name, *target;
    QByteArray old;
    std::function<bool(const QString &folder, const QString &path, QString *reason)> save;
    bool givesReason = true;
};

const QStringList Row { "0", "P.0", "0", "Max", "", "0", "120", "Hz", "120Hz", "60", "", "" };
const Listing List { "VM3-023-1.5K", 0, 1, false, false, 0, Row, { Row } };
const TrendDataTable Trend { "2026-12-07", "System Time", { "D000" }, { "'10:00:00" }, { { 1.5 } } };
const PlotValueTable Values { { "D000" }, { { 1 } }, 1 };
static QString package; // replaces FNC.txt
const char Run[] = "2026.12.07 10:00:00  Open TavironINV\r\n******************************************************\r\n";
// By SaveStep: the error each step fails with; None is the full tmpfs.
const int Errors[] = { ENOSPC, ENOSPC, EIO, EDQUOT, EROFS };

static const QList<Kind> &kinds()
{
    static const QList<Kind> list {
        { "document", "site.tv", "old", [](auto, auto &p, auto r) { return writeDocumentFile(p, "Station:5,V", r); } },
        { "list, text", "l.txt", "old", [](auto, auto &p, auto r) { return saveTextListing(p, List, r); } },
        { "list, workbook", "l.xlsx", "old",
            [](auto, auto &p, auto r) { return saveWorkbookListing(p, List, {}, "C2", "M", r); } },
        { "trend, text", "t.txt", "old", [](auto, auto &p, auto r) { return writeTrendTextFile(p, Trend, r); } },
        { "trend, workbook", "t.xlsx", "old", [](auto, auto &p, auto r) { return writeTrendWorkbook(p, Trend, r); } },
        { "trend and RAM values", "v.xls", "old",
            [](auto, auto &p, auto r) { return writePlotValueFile(p, Values, r); } },
        // The history, the service report and the charts hand their bytes to saveFile themselves.
        { "history, report, chart", "c.png", "old", [](auto, auto &p, auto r) { return saveFile(p, "picture", r); } },
        { "log trim", "Operation_log.txt", QByteArray(Run).repeated(100),
            [](auto &d, auto, auto) { return (g_appDir = d + '/', startOperationLogRun(), false); }, false },
        { "update target", "ParameterInforamtion/InvType/FNC.txt", "old",
            [](auto &d, auto, auto) { return installUpdatePackage(package, d + '/'); }, false },
    };
    return list;
}

static QStringList filesBelow(const QString &folder)
{
    QStringList files;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
         it.hasNext();)
        files << it.next();
    return files;
}

class tst_FileSave : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_tmpfs; // a mounted 64 KiB tmpfs, empty when this process may not mount one

private slots:
    void initTestCase()
    {
        package = m_dir.filePath("update.zr");
        QVERIFY(writeZip(package, { { "ParameterInforamtion/InvType/FNC.txt", QByteArray(3000, 'f') } }));
        m_tmpfs = m_dir.filePath("tmpfs");
        QVERIFY(QDir().mkpath(m_tmpfs));
        // The mount goes with the process's own namespace, whatever happens to the test.
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("tmpfs", QFile::encodeName(m_tmpfs).constData(), "tmpfs", 0, "size=64k") != 0)
            m_tmpfs.clear(),
                qInfo("No tmpfs can be mounted here (%s): the failing steps stand for a full disk.",
                    std::strerror(errno));
    }

    void cleanup() { failSaveStepForTest(SaveStep::None, 0); }
    void cleanupTestCase() { ::umount(QFile::encodeName(m_tmpfs).constData()); }

    void failedSaveKeepsOldFile_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("step");
        const char *steps[] = { "full disk", "write", "flush", "fsync", "rename" };
        for (int k = 0; k < kinds().size(); ++k)
            for (int step = 0; step < 5; ++step)
                QTest::addRow("%s, %s", kinds().at(k).name, steps[step]) << k << step;
    }

    void failedSaveKeepsOldFile()
    {
        QFETCH(int, kind);
        QFETCH(int, step);
        const Kind &k = kinds().at(kind);
        const bool fullDisk = step == int(SaveStep::None);
        if (fullDisk && m_tmpfs.isEmpty())
            QSKIP("no tmpfs");
        const QString folder = (fullDisk ? m_tmpfs : m_dir.path()) + "/saves";
        QVERIFY(QDir(folder).removeRecursively() && writeFile(folder + '/' + k.target, k.old));
        const QStringList before = filesBelow(folder);
        QFile fill(m_tmpfs + "/filler");
        while (fullDisk && (fill.isOpen() || fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            && fill.write(QByteArray(4096, 'x')) > 0) { }
        failSaveStepForTest(SaveStep(step), Errors[step]);
        QString reason;
        QVERIFY(!k.save(folder, folder + '/' + k.target, &reason));
        QVERIFY(!fullDisk || fill.remove());
        QCOMPARE(reason, k.givesReason ? QString::fromLocal8Bit(std::strerror(Errors[step])) : QString());
        QCOMPARE(filesBelow(folder), before);
        // The run's start line ("yyyy.MM.dd hh:mm:ss  Open TavironINV") still goes where it finds room.
        const QByteArray after = fileBytes(folder + '/' + k.target);
        QVERIFY(after == k.old
            || (k.old.size() > 1000 && after.startsWith(k.old) && after.size() == k.old.size() + 38
                && after.endsWith("  Open TavironINV\r\n")));
    }
};

QTEST_GUILESS_MAIN(tst_FileSave)
#include "tst_filesave.moc"
