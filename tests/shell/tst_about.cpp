#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>

#include "shell/about.h"
#include "shell/appglobals.h"
#include "testdirs.h"

namespace
{

const QString FormVersionLine = QStringLiteral("       Parameter Version:  0.100");

QString versionLine(const CAbout &about)
{
    for (const QString &line : about.textEdit->toPlainText().split(QLatin1Char('\n')))
        if (line.contains(QLatin1String("Parameter Version:")))
            return line;
    return QString();
}

QTextCharFormat versionFormat(const CAbout &about)
{
    for (QTextBlock block = about.textEdit->document()->begin(); block.isValid(); block = block.next()) {
        if (!block.text().contains(QLatin1String("Parameter Version:")))
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock);
        return cursor.charFormat();
    }
    return QTextCharFormat();
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void staysAtItsFixedSize();
    void showsProductVersionAndAddress();
    void showsParameterVersionFromDataFolder_data();
    void showsParameterVersionFromDataFolder();
    void shippedDataFolderGivesTheParameterVersion();
    void backgroundPicturesCoverTheirWidgets();

private:
    QTemporaryDir m_appDir;
};

void TestAbout::init()
{
    QVERIFY(m_appDir.isValid());
    g_appDir = m_appDir.path() + QLatin1Char('/');
    QDir(m_appDir.path()).removeRecursively();
    QVERIFY(QDir().mkpath(m_appDir.path() + QStringLiteral("/ParameterInforamtion")));
}

void TestAbout::staysAtItsFixedSize()
{
    CAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.size(), QSize(490, 290));
    QCOMPARE(about.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(about.sizePolicy().verticalPolicy(), QSizePolicy::Fixed);

    about.resize(800, 600);
    QCOMPARE(about.size(), QSize(490, 290));
    about.resize(100, 50);
    QCOMPARE(about.size(), QSize(490, 290));
}

void TestAbout::showsProductVersionAndAddress()
{
    CAbout about;
    QCOMPARE(about.objectName(), QStringLiteral("AboutDialog"));
    QCOMPARE(about.windowTitle(), QStringLiteral("Version Information"));
    QCOMPARE(about.lineEdit->text(), QStringLiteral("www.taviron.example"));
    QVERIFY(about.lineEdit->isReadOnly());
    QVERIFY(about.textEdit->isReadOnly());

    const QStringList lines = about.textEdit->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines.at(1), QStringLiteral("TavironINV"));
    QCOMPARE(lines.at(3), QStringLiteral("TavironINV Version:   0.8.18"));
    QCOMPARE(lines.at(5), FormVersionLine);
    QVERIFY(lines.at(8).contains(QLatin1String("Taviron")));
    for (int empty : { 0, 2, 4, 6, 7 })
        QVERIFY2(lines.at(empty).isEmpty(), qPrintable(QString::number(empty)));
}

void TestAbout::showsParameterVersionFromDataFolder_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no_file") << false << QByteArray() << FormVersionLine;
    QTest::newRow("unreadable_folder_of_that_name") << false << QByteArray("dir") << FormVersionLine;
    QTest::newRow("two_lines_crlf") << true << QByteArray("1.2\r\n.7\r\n")
                                    << QStringLiteral("       Parameter Version:   1.2.7");
    QTest::newRow("two_lines_lf_no_final_end")
        << true << QByteArray("A-01\nB") << QStringLiteral("       Parameter Version:   A-01B");
    QTest::newRow("one_line") << true << QByteArray("0.215\n") << QStringLiteral("       Parameter Version:   0.215");
    QTest::newRow("empty_file") << true << QByteArray() << QStringLiteral("       Parameter Version:   ");
    QTest::newRow("latin1_byte") << true
                                 << QByteArray("v\xe9"
                                               "2\r\n")
                                 << QStringLiteral("       Parameter Version:   v\u00e92");
}

void TestAbout::showsParameterVersionFromDataFolder()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);

    if (present) {
        QFile file(g_appDir + QStringLiteral("ParameterInforamtion/TypeInformation.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    } else if (!content.isEmpty()) {
        QVERIFY(QDir().mkpath(g_appDir + QStringLiteral("ParameterInforamtion/TypeInformation.txt")));
    }
    CAbout about;
    QCOMPARE(versionLine(about), expected);

    // The line keeps its own look, and the rest of the box is untouched.
    const QTextCharFormat format = versionFormat(about);
    QCOMPARE(format.fontFamily(), QStringLiteral("Times New Roman"));
    QCOMPARE(format.fontPointSize(), 10.0);
    QVERIFY(about.textEdit->toPlainText().contains(QLatin1String("TavironINV Version:   0.8.18")));
    QCOMPARE(about.textEdit->toPlainText().count(QLatin1String("Parameter Version:")), 1);
}

void TestAbout::shippedDataFolderGivesTheParameterVersion()
{
    g_appDir = binDir() + QLatin1Char('/');
    QVERIFY(QFile::exists(g_appDir + QStringLiteral("ParameterInforamtion/TypeInformation.txt")));
    CAbout about;
    QCOMPARE(versionLine(about), QStringLiteral("       Parameter Version:   0.100"));
}

void TestAbout::backgroundPicturesCoverTheirWidgets()
{
    CAbout about;
    const QPixmap banner(QStringLiteral(":/new prefix/images/about.bmp"));
    const QPixmap back(QStringLiteral(":/new prefix/images/back.bmp"));
    QVERIFY(!banner.isNull());
    QVERIFY(!back.isNull());
    QVERIFY(banner.width() >= about.frame->width() && banner.height() >= about.frame->height());
    QVERIFY(back.width() >= about.textEdit->width() && back.height() >= about.textEdit->height());
    QVERIFY(about.frame->styleSheet().contains(QLatin1String(":/new prefix/images/about.bmp")));
    QVERIFY(about.textEdit->styleSheet().contains(QLatin1String(":/new prefix/images/back.bmp")));
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
