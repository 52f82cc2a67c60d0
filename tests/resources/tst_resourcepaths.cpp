// Every picture and catalogue the program names by a resource path is embedded, and every picture
// it takes from the data folder is laid beside the executable.

#include "shell/startup.h"
#include "testdirs.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

class TestResourcePaths : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void namedPathExists_data();
    void namedPathExists();

private:
    // Each distinct match of the pattern's first group in the program's sources and forms.
    static QStringList namedInSources(const QRegularExpression &pattern);
};

void TestResourcePaths::initTestCase()
{
    initShellResources();
    Q_INIT_RESOURCE(about);
}

QStringList TestResourcePaths::namedInSources(const QRegularExpression &pattern)
{
    QStringList found;
    QDirIterator it(sourceDir() + QStringLiteral("/src"), { "*.cpp", "*.h", "*.ui" }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = pattern.globalMatch(text); m.hasNext();) {
            const QString path = m.next().captured(1);
            if (!found.contains(path))
                found << path;
        }
    }
    return found;
}

void TestResourcePaths::namedPathExists_data()
{
    QTest::addColumn<QString>("path");
    // Resource paths up to the closing quote or bracket; a bare folder is a prefix the code completes.
    const QStringList resources = namedInSources(QRegularExpression(QStringLiteral("(:/new prefix/[^\"')<]*[^/\"')<])")));
    QVERIFY(resources.contains(QStringLiteral(":/new prefix/images/ckChecked_unable.png")));
    for (const QString &path : resources) {
        if (!path.section(QLatin1Char('/'), -1).contains(QLatin1Char('.')) && !path.contains(QLatin1String("/language/")))
            continue;
        // Catalogues are named without the ending the translator adds.
        const QString file = path.contains(QLatin1String("/language/")) ? path + QStringLiteral(".qm") : path;
        QTest::newRow(qPrintable(path)) << file;
    }
    const QStringList data = namedInSources(QRegularExpression(QStringLiteral("g_appDir \\+ QStringLiteral\\(\"(images/[^\"]+\\.png)\"\\)")));
    QCOMPARE(data.size(), 3);
    for (const QString &path : data)
        QTest::newRow(qPrintable(path)) << binDir() + QLatin1Char('/') + path;
}

void TestResourcePaths::namedPathExists()
{
    QFETCH(QString, path);
    QVERIFY2(QFile::exists(path), qPrintable(path));
}

QTEST_MAIN(TestResourcePaths)
#include "tst_resourcepaths.moc"
