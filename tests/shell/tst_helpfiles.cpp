#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QUrl>
#include <QtTest>

#include "platform/desktop.h"
#include "shell/help.h"
#include "testdirs.h"
#include "testfiles.h"

namespace
{

QString readUtf8(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString firstMatch(const QString &text, const QString &pattern)
{
    return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption)
        .match(text)
        .captured(1)
        .trimmed();
}

} // namespace

// Stands in for the desktop's file handler.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void handle(const QUrl &url) { urls << url; }
};

class TestHelpFiles : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void helpFolderIsFoundFromTheProgramFolder_data();
    void helpFolderIsFoundFromTheProgramFolder();
    void helpFileFollowsTheLanguage_data();
    void helpFileFollowsTheLanguage();
    void openDocumentGoesThroughTheReplaceableOpener();
    void openDocumentHandsAFileUrlToTheDesktop();
    void shippedManualHoldsItsPages_data();
    void shippedManualHoldsItsPages();
};

void TestHelpFiles::cleanup()
{
    setDocumentOpener(DocumentOpener());
}

void TestHelpFiles::helpFolderIsFoundFromTheProgramFolder_data()
{
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("expected");

    QTest::newRow("help_beside_program") << "app" << QStringList { "app/help" } << "app/help";
    QTest::newRow("no_help_folder_stays_in_program_folder") << "app" << QStringList() << "app";
    QTest::newRow("Release_uses_parent_help") << "build/Release" << QStringList { "build/help" } << "build/help";
    QTest::newRow("release_lower_case") << "build/release" << QStringList { "build/help" } << "build/help";
    QTest::newRow("DEBUG_upper_case") << "build/DEBUG" << QStringList { "build/help" } << "build/help";
    QTest::newRow("Release_without_help_stays_in_parent") << "build/Release" << QStringList() << "build";
    QTest::newRow("Release_own_help_is_not_looked_at")
        << "build/Release" << QStringList { "build/Release/help" } << "build";
    QTest::newRow("name_only_ending_in_release")
        << "prerelease" << QStringList { "prerelease/help" } << "prerelease/help";
}

void TestHelpFiles::helpFolderIsFoundFromTheProgramFolder()
{
    QFETCH(QString, programDir);
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir base(root.path());
    QVERIFY(base.mkpath(programDir));
    for (const QString &folder : folders)
        QVERIFY(base.mkpath(folder));

    const QDir found = helpDir(QStringLiteral("help"), base.filePath(programDir));
    QCOMPARE(QDir::cleanPath(found.absolutePath()), QDir::cleanPath(base.filePath(expected)));
}

void TestHelpFiles::helpFileFollowsTheLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("file");

    QTest::newRow("english") << 0 << "HELP-EN.chm";
    QTest::newRow("simplified_chinese") << 1 << "HELP-CN.chm";
    QTest::newRow("traditional_chinese") << 2 << "HELP-TW.chm";
    QTest::newRow("damaged_index_3") << 3 << QString();
    QTest::newRow("damaged_index_255") << 255 << QString();
    QTest::newRow("negative") << -1 << QString();
}

void TestHelpFiles::helpFileFollowsTheLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, file);

    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("help")));
    const QString path = helpFilePath(language, root.path());
    if (file.isEmpty()) {
        QVERIFY2(path.isEmpty(), qPrintable(path));
        return;
    }
    QCOMPARE(path, root.path() + QStringLiteral("/help/") + file);
    QVERIFY(QDir::isAbsolutePath(path));
    QVERIFY(!path.contains(QLatin1Char('\\')));
}

void TestHelpFiles::openDocumentGoesThroughTheReplaceableOpener()
{
    QStringList opened;
    setDocumentOpener([&opened](const QString &path) {
        opened << path;
        return true;
    });

    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("help")));
    openDocument(helpFilePath(1, root.path()));
    openDocument(helpFilePath(7, root.path()));
    QCOMPARE(opened, QStringList { root.path() + QStringLiteral("/help/HELP-CN.chm") });
}

void TestHelpFiles::openDocumentHandsAFileUrlToTheDesktop()
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "handle");
    const QString path = QStringLiteral("/tmp/Taviron manuals/帮助 #1/HELP-CN.chm");
    openDocument(path);
    openDocument(QString());
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    QCOMPARE(recorder.urls.size(), 1);
    QCOMPARE(recorder.urls.first().scheme(), QStringLiteral("file"));
    QCOMPARE(recorder.urls.first().toLocalFile(), path);
}

void TestHelpFiles::shippedManualHoldsItsPages_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QByteArray>("codepage");
    QTest::addColumn<QString>("manualTitle");

    QTest::newRow("english") << 0 << QByteArray("UTF-8") << QStringLiteral("TavironINV User Manual");
    QTest::newRow("simplified_chinese") << 1 << QByteArray("GBK") << QStringLiteral("TavironINV 用户手册");
    QTest::newRow("traditional_chinese") << 2 << QByteArray("Big5") << QStringLiteral("TavironINV 使用手冊");
}

void TestHelpFiles::shippedManualHoldsItsPages()
{
    QFETCH(int, language);
    QFETCH(QByteArray, codepage);
    QFETCH(QString, manualTitle);

    const QString archmage = QStandardPaths::findExecutable(QStringLiteral("archmage"));
    QVERIFY2(!archmage.isEmpty(), "archmage (Debian package archmage) is needed to unpack the help files");

    // The program looks for its help where the build lays it.
    const QString chm = helpFilePath(language, binDir());
    QVERIFY2(QFile::exists(chm), qPrintable(chm));

    QTemporaryDir out;
    QProcess unpack;
    unpack.start(archmage, { QStringLiteral("-x"), chm, out.filePath(QStringLiteral("x")) });
    QVERIFY(unpack.waitForFinished(30000));
    QCOMPARE(unpack.exitCode(), 0);
    const QDir pages(out.filePath(QStringLiteral("x")));

    // Contents, in the help file's own code page: every entry opens a page headed by the entry's name.
    QFile tocFile(pages.filePath(QStringLiteral("toc.hhc")));
    QVERIFY(tocFile.open(QIODevice::ReadOnly));
    const QString toc = QTextCodec::codecForName(codepage)->toUnicode(tocFile.readAll());
    QRegularExpression entry(QStringLiteral("<param name=\"Name\" value=\"([^\"]*)\">\\s*"
                                            "<param name=\"Local\" value=\"([^\"]*)\">"));
    QStringList listed;
    for (auto it = entry.globalMatch(toc); it.hasNext();) {
        const auto match = it.next();
        const QString page = readUtf8(pages.filePath(match.captured(2)));
        QVERIFY2(!page.isEmpty(), qPrintable(match.captured(2)));
        QCOMPARE(firstMatch(page, QStringLiteral("<h1>(.*?)</h1>")), match.captured(1));
        QCOMPARE(firstMatch(page, QStringLiteral("<title>(.*?)</title>")), match.captured(1));
        listed << match.captured(2);

        // Links between pages must land on a page of the same help file.
        QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)\""));
        for (auto l = link.globalMatch(page); l.hasNext();) {
            const QString target = l.next().captured(1);
            QVERIFY2(pages.exists(target), qPrintable(match.captured(2) + QStringLiteral(" -> ") + target));
        }
    }
    QCOMPARE(listed,
        QStringList({ "index.html", "connect.html", "parameters.html", "commands.html", "monitor.html",
            "trend.html", "wizard.html" }));
    QCOMPARE(firstMatch(readUtf8(pages.filePath(QStringLiteral("index.html"))), QStringLiteral("<h1>(.*?)</h1>")),
        manualTitle);

    // It opens on the page we wrote, under a name the viewers take for HTML (xchm shows a ".htm" page as
    // its source text). #SYSTEM: a version word, then records of a 16-bit code and length; code 2 is the
    // opening page.
    const QString extract = QStandardPaths::findExecutable(QStringLiteral("extract_chmLib"));
    QVERIFY2(!extract.isEmpty(), "extract_chmLib (Debian package libchm-bin) is needed to unpack the help files");
    QCOMPARE(QProcess::execute(extract, { chm, out.filePath(QStringLiteral("raw")) }), 0);
    const QByteArray r = fileBytes(out.filePath(QStringLiteral("raw/#SYSTEM")));
    QString topic;
    for (int at = 4, length = 0; at + 4 <= r.size() && topic.isEmpty(); at += 4 + length) {
        length = quint8(r[at + 2]) | quint8(r[at + 3]) << 8;
        if (r[at] == 2 && r[at + 1] == 0)
            topic = QString::fromLatin1(r.mid(at + 4, length)).section(QChar(0), 0, 0);
    }
    QCOMPARE(topic, QStringLiteral("index.html"));
    QCOMPARE(fileBytes(out.filePath("raw/" + topic)),
        fileBytes(sourceDir() + "/src/help/" + QStringList { "en", "cn", "tw" }.at(language) + '/' + topic));
}

QTEST_MAIN(TestHelpFiles)
#include "tst_helpfiles.moc"
