// The language switch as the user meets it: every text of the main window, the dock, the parameter form
// and the set-up dialog follows the chosen catalogue, the parameter names, comments and the open help
// reload in the new language, one language stays checked, and the station number still reads back.

#include "connection/comsetup.h"
#include "comm/globals.h"
#include "modalwatcher.h"
#include "parameter/parameter.h"
#include "parameter/parinformation.h"
#include "platform/desktop.h"
#include "pseudoterminal.h"
#include "seriesfixture.h"
#include "shell/appglobals.h"
#include "shell/help.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/startup.h"
#include "testfiles.h"
#include "useranswers.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QToolButton>
#include <QTranslator>
#include <QTreeView>
#include <QXmlStreamReader>
#include <QtTest>

namespace
{

const char *const CatalogueFiles[] = { nullptr, "TavironINV_zh_CN.ts", "TavironINV_zh_Big.ts" };
const char *const DataSuffixes[] = { "_Eng", "", "_Big" };

using Texts = QMap<QString, QString>;

// Source text -> the translations a catalogue gives it (one per context that uses it).
QHash<QString, QSet<QString>> readCatalogue(int language)
{
    QHash<QString, QSet<QString>> map;
    if (!CatalogueFiles[language])
        return map;
    QFile file(sourceDir() + QStringLiteral("/src/resources/language/") + QLatin1String(CatalogueFiles[language]));
    if (!file.open(QIODevice::ReadOnly))
        return map;
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation"))
            map[source].insert(xml.readElementText());
    }
    return map;
}

QString translated(const QHash<QString, QSet<QString>> &catalogue, const QString &source)
{
    const QSet<QString> found = catalogue.value(source);
    return found.isEmpty() ? source : *found.begin();
}

void addText(Texts *texts, const QString &key, const QString &text)
{
    if (!text.isEmpty())
        texts->insert(key, text);
}

void addMenu(Texts *texts, const QString &key, const QList<QAction *> &actions)
{
    for (int i = 0; i < actions.size(); ++i) {
        QAction *action = actions.at(i);
        const QString itemKey = key + QLatin1Char('/') + QString::number(i);
        addText(texts, itemKey, action->text());
        if (action->menu())
            addMenu(texts, itemKey, action->menu()->actions());
    }
}

// What a user reads on a window: titles, labels, buttons, group boxes, combo items, tabs, visible column
// headers, tree items and menus. Table cells are data and are checked on their own.
Texts visibleTexts(QWidget *root)
{
    Texts texts;
    addText(&texts, QStringLiteral("title"), root->windowTitle());
    const QList<QWidget *> widgets = root->findChildren<QWidget *>();
    for (int n = 0; n < widgets.size(); ++n) {
        QWidget *w = widgets.at(n);
        if (!w->isVisibleTo(root))
            continue;
        const QString key = QString::number(n) + QLatin1Char(':') + QLatin1String(w->metaObject()->className())
                            + QLatin1Char(':') + w->objectName();
        if (auto *label = qobject_cast<QLabel *>(w))
            addText(&texts, key, label->text());
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            addText(&texts, key, button->text());
        else if (auto *box = qobject_cast<QGroupBox *>(w))
            addText(&texts, key, box->title());
        else if (auto *dock = qobject_cast<QDockWidget *>(w))
            addText(&texts, key, dock->windowTitle());
        else if (auto *bar = qobject_cast<QMenuBar *>(w))
            addMenu(&texts, key, bar->actions());
        if (auto *combo = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < combo->count(); ++i)
                addText(&texts, key + QLatin1Char('/') + QString::number(i), combo->itemText(i));
        if (auto *tabs = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                addText(&texts, key + QLatin1Char('/') + QString::number(i), tabs->tabText(i));
        if (auto *table = qobject_cast<QTableWidget *>(w))
            for (int c = 0; c < table->columnCount(); ++c)
                if (!table->isColumnHidden(c) && table->horizontalHeaderItem(c))
                    addText(&texts, key + QStringLiteral("/h") + QString::number(c),
                            table->horizontalHeaderItem(c)->text());
        if (auto *tree = qobject_cast<QTreeView *>(w)) {
            auto *model = qobject_cast<QStandardItemModel *>(tree->model());
            for (int r = 0; model && r < model->rowCount(); ++r) {
                QStandardItem *item = model->item(r);
                addText(&texts, key + QStringLiteral("/r") + QString::number(r), item->text());
                for (int c = 0; c < item->rowCount(); ++c)
                    addText(&texts, key + QStringLiteral("/r%1/%2").arg(r).arg(c), item->child(c)->text());
            }
        }
    }
    return texts;
}

// An English word left among Chinese texts: a lower-case run of three letters outside the names the
// program never translates.
bool looksUntranslated(QString text)
{
    for (const char *name : { "TavironINV", "Taviron", "Modbus", "English" })
        text.remove(QLatin1String(name));
    return text.contains(QRegularExpression(QStringLiteral("[a-z]{3}")));
}

int labelStation(const QString &label)
{
    for (const QString &word : label.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (word.contains(QLatin1String("NO.")))
            return QString(word).remove(QLatin1String("NO.")).toInt();
    return -1;
}

// Name and comment (the element's "Writable" text) of parameter 0 in the language's parameter file.
QPair<QString, QString> localizedFirstParameter(int language)
{
    QFile file(binDir() + QStringLiteral("/InvParameter/D_InvParameter") + QLatin1String(DataSuffixes[language])
               + QStringLiteral(".xml"));
    QPair<QString, QString> found;
    if (!file.open(QIODevice::ReadOnly))
        return found;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd() && (found.first.isEmpty() || found.second.isEmpty())) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("Name0"))
            found.first = xml.readElementText();
        else if (xml.name() == QLatin1String("Writable0"))
            found.second = xml.readElementText();
    }
    return found;
}

QStringList helpLines(int language, int number)
{
    QFile file(binDir() + QStringLiteral("/ParameterInforamtion/ParameterDetails/D") + QLatin1String(DataSuffixes[language])
               + QStringLiteral(".txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString key = QString::number(number) + QStringLiteral("//");
    const QStringList lines = QTextCodec::codecForName("GBK")->toUnicode(file.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line.remove(QLatin1Char('\r'));
        if (line.startsWith(key))
            return line.mid(key.size()).split(QLatin1Char(';'));
    }
    return {};
}

QString checkedLanguages(CMainWindow *window)
{
    QString marks;
    for (QAction *action : { window->actE, window->actCS, window->actCT })
        marks += action->isChecked() ? QLatin1Char('X') : QLatin1Char('-');
    return marks;
}

const QString Checked[] = { QStringLiteral("X--"), QStringLiteral("-X-"), QStringLiteral("--X") };

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void switchFollowsTheCataloguesEverywhere();
    void startingLanguageChecksOnlyItsAction_data();
    void startingLanguageChecksOnlyItsAction();
    void choosingTheActiveLanguageKeepsItAndReloadsNothing_data();
    void choosingTheActiveLanguageKeepsItAndReloadsNothing();
    void helpOpensTheManualOfTheCurrentLanguage_data();
    void helpOpensTheManualOfTheCurrentLanguage();
    void helpThatCannotOpenSaysWhy_data();
    void helpThatCannotOpenSaysWhy();

private:
    void makeWindow(int language);
    void loadTableWithStation();
    Texts dialogTexts();
    QAction *languageAction(int language) const;

    QTemporaryDir m_appDir;
    ListedLine m_line;
    CMainWindow *m_window = nullptr;
};

void TestLanguage::initTestCase()
{
    QVERIFY(m_appDir.isValid());
    initShellResources();
    qApp->installTranslator(&g_translator);
    // The program's data, in a folder of the test's own so the run's log lands there.
    for (const char *folder : { "InvParameter", "ParameterInforamtion", "images" })
        QVERIFY(QFile::link(binDir() + QLatin1Char('/') + QLatin1String(folder),
                            m_appDir.path() + QLatin1Char('/') + QLatin1String(folder)));
}

void TestLanguage::init()
{
    QVERIFY(m_line.open());
    g_commandLineDoc.clear();
    g_seriesLetter = '0';
}

void TestLanguage::cleanup()
{
    setDocumentOpener({});
    delete m_window;
    m_window = nullptr;
    g_mainWindow = nullptr;
    g_translator.load(QString());
    m_line.close();
}

void TestLanguage::makeWindow(int language)
{
    g_appDir = m_appDir.path() + QLatin1Char('/');
    g_language = static_cast<unsigned char>(language);
    m_window = new CMainWindow(nullptr);
    g_mainWindow = m_window;
    m_window->resize(1200, 800);
}

QAction *TestLanguage::languageAction(int language) const
{
    QAction *const actions[] = { m_window->actE, m_window->actCS, m_window->actCT };
    return actions[language];
}

// A drive of series D at station 1, entered as the connection search enters it, with its table loaded.
void TestLanguage::loadTableWithStation()
{
    const SeriesSetup series = seriesSetup('D');
    applySeries(series, QStringLiteral("0"), g_language);
    g_appDir = m_appDir.path() + QLatin1Char('/');
    CNavigation *navigation = m_window->navigation;
    auto *item = new QStandardItem(QStringLiteral("NO.001 ") + series.type);
    navigation->treeRoot->appendRow(item);
    navigation->currentItem = item;
    navigation->stationTypes[1] = series.type;
    navigation->stationTested[1] = 1;
    navigation->PotLabel->setText(CComSetup::tr("Select station: NO.") + QStringLiteral("001 ") + series.type);
    m_window->parameterForm->loadParameterTable();
    m_window->parameterForm->show();
}

// The set-up dialog as the user opens it: its texts and the station it preselects.
Texts TestLanguage::dialogTexts()
{
    Texts texts;
    ModalWatcher watcher([&](QWidget *modal) {
        if (modal != m_window->comSetup)
            return;
        texts = visibleTexts(modal);
        texts.insert(QStringLiteral("preset station"), QString::number(m_window->comSetup->autoStation->currentIndex()));
        m_window->comSetup->reject();
    });
    m_window->actCom->trigger();
    return texts;
}

void TestLanguage::switchFollowsTheCataloguesEverywhere()
{
    makeWindow(0);
    loadTableWithStation();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    CParameter *form = m_window->parameterForm;
    ParInformation *help = form->parInformation;
    // The help of P.7 open, as a click on its underlined number opens it.
    const int helpRow = 7;
    form->PartableWidget->setCurrentCell(helpRow, form->helpColumn());
    form->ShowTooltip(form->PartableWidget->model()->index(helpRow, form->helpColumn()));
    QVERIFY(help->isVisible());

    const Texts english = visibleTexts(m_window);
    Texts englishDialog = dialogTexts();
    QCOMPARE(englishDialog.take(QStringLiteral("preset station")), QStringLiteral("1"));
    const QString englishLabel = m_window->navigation->PotLabel->text();

    // The form re-texts itself with the language already switched, so widths and heights follow it.
    QList<int> languageDuringRetext;
    connect(form->PartableWidget->model(), &QAbstractItemModel::headerDataChanged, this,
            [&] { languageDuringRetext.append(g_language); });

    for (int language : { 1, 2, 0 }) {
        const QByteArray step = QByteArray("language ") + QByteArray::number(language);
        languageDuringRetext.clear();
        UserAnswers user; // Simplified Chinese comes by System -> Open of a document saved in it
        user.fileNames = QStringList { m_appDir.path() + QStringLiteral("/site.tv") };
        QVERIFY(writeZip(user.fileNames.first(), { { "station.txt", "languageType:1\r\n" } }));
        (language == 1 ? m_window->actOpen : languageAction(language))->trigger();
        QCOMPARE(int(g_language), language);
        QCOMPARE(checkedLanguages(m_window), Checked[language]);
        QVERIFY2(!languageDuringRetext.isEmpty(), step);
        for (int seen : languageDuringRetext)
            QCOMPARE(seen, language);

        const QHash<QString, QSet<QString>> catalogue = readCatalogue(language);
        Texts now = visibleTexts(m_window);
        Texts nowDialog = dialogTexts();

        // The station label: the new prefix before the station as it was, and its number still reads back,
        // in the dock and in the set-up dialog.
        const QString label = now.take(english.key(englishLabel));
        const QString prefix = translated(catalogue, QStringLiteral("Select station: "));
        QVERIFY2(label.startsWith(prefix), qPrintable(label));
        QCOMPARE(label.mid(prefix.size()), englishLabel.mid(QStringLiteral("Select station: ").size()));
        QCOMPARE(labelStation(label), 1);
        QCOMPARE(nowDialog.take(QStringLiteral("preset station")), QStringLiteral("1"));

        // No text vanished and none appeared.
        QSet<QString> keys(english.keyBegin(), english.keyEnd());
        keys.remove(english.key(englishLabel));
        QCOMPARE(QSet<QString>(now.keyBegin(), now.keyEnd()), keys);
        QCOMPARE(nowDialog.keys(), englishDialog.keys());
        // Each text is the catalogue's translation of what was shown in English; none stays English
        // unless the catalogue keeps it so.
        auto compare = [&](const Texts &before, const Texts &after) {
            for (auto it = after.cbegin(); it != after.cend(); ++it) {
                const QString source = before.value(it.key());
                const QString expected = catalogue.isEmpty() ? source : translated(catalogue, source);
                QVERIFY2(catalogue.value(source).contains(it.value()) || it.value() == expected,
                         qPrintable(QStringLiteral("%1 %2: \"%3\" shows \"%4\", catalogue \"%5\"")
                                        .arg(QLatin1String(step), it.key(), source, it.value(), expected)));
                if (language != 0)
                    QVERIFY2(!looksUntranslated(it.value()) || catalogue.value(source).contains(source),
                             qPrintable(QStringLiteral("%1 %2: \"%3\" left in English")
                                            .arg(QLatin1String(step), it.key(), it.value())));
            }
        };
        compare(english, now);
        compare(englishDialog, nowDialog);
        if (QTest::currentTestFailed())
            return;

        // Parameter names and comments come from the language's own parameter file.
        const QPair<QString, QString> first = localizedFirstParameter(language);
        QVERIFY(!first.first.isEmpty());
        QCOMPARE(form->cellText(0, 3), first.first);
        QCOMPARE(form->cellText(0, 11), first.second);

        // The open help shows the same parameter in the new language, one line per row at its height.
        QVERIFY(help->isVisible());
        const QStringList lines = helpLines(language, helpRow);
        QVERIFY(lines.size() > 1);
        QCOMPARE(help->model->item(0, 0)->text(), QStringLiteral("P.7"));
        for (int j = 0; j < lines.size(); ++j) {
            QCOMPARE(help->model->item(j, 1)->text(), lines.at(j));
            // The view keeps rows at least as high as its font needs.
            QCOMPARE(help->SysTableView->rowHeight(j), qMax(helpRowHeight(lines.at(j).size(), language),
                                                            help->SysTableView->verticalHeader()->minimumSectionSize()));
        }
    }

    // Back in English, everything reads as it did at the start.
    QCOMPARE(visibleTexts(m_window), english);
    Texts dialogBack = dialogTexts();
    dialogBack.remove(QStringLiteral("preset station"));
    QCOMPARE(dialogBack, englishDialog);
}

void TestLanguage::startingLanguageChecksOnlyItsAction_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("dockTitle");
    QTest::newRow("English") << 0 << "X--" << "Navigation";
    QTest::newRow("document in Simplified Chinese") << 1 << "-X-" << "导航";
    QTest::newRow("document in Traditional Chinese") << 2 << "--X" << "導覽";
    // A damaged document: nothing is loaded, the start-up check stays on English.
    QTest::newRow("damaged document") << 3 << "X--" << "Navigation";
}

void TestLanguage::startingLanguageChecksOnlyItsAction()
{
    QFETCH(int, language);
    QFETCH(QString, checked);
    QFETCH(QString, dockTitle);
    makeWindow(language);
    QCOMPARE(checkedLanguages(m_window), checked);
    QCOMPARE(m_window->navigationDock->windowTitle(), dockTitle);
    QCOMPARE(int(g_language), language);
}

void TestLanguage::choosingTheActiveLanguageKeepsItAndReloadsNothing_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 0;
    QTest::newRow("Simplified Chinese") << 1;
    QTest::newRow("Traditional Chinese") << 2;
}

void TestLanguage::choosingTheActiveLanguageKeepsItAndReloadsNothing()
{
    QFETCH(int, language);
    makeWindow(0);
    loadTableWithStation();
    languageAction(language)->trigger();
    QCOMPARE(checkedLanguages(m_window), Checked[language]);

    // Marks that any reload would overwrite.
    m_window->navigationDock->setWindowTitle(QStringLiteral("mark"));
    m_window->parameterForm->PartableWidget->item(0, 3)->setText(QStringLiteral("mark"));
    m_window->setConnectionState(true);
    const QString online = m_window->connectButton->text();

    for (int round = 0; round < 2; ++round) {
        languageAction(language)->trigger();
        QCOMPARE(checkedLanguages(m_window), Checked[language]);
    }
    QCOMPARE(int(g_language), language);
    QCOMPARE(m_window->navigationDock->windowTitle(), QStringLiteral("mark"));
    QCOMPARE(m_window->parameterForm->cellText(0, 3), QStringLiteral("mark"));
    QCOMPARE(m_window->connectButton->text(), online);

    // A real switch afterwards re-texts the connection button to off-line, whatever the link was.
    const int other = (language + 1) % 3;
    languageAction(other)->trigger();
    QCOMPARE(checkedLanguages(m_window), Checked[other]);
    QCOMPARE(m_window->connectButton->text(), translated(readCatalogue(other), QStringLiteral("Off-Line")));
}

namespace {

// The manual of a language where Help looks for it, for as long as a test needs it; a build
// without the help compiler has none.
class HelpFileInPlace {
public:
    explicit HelpFileInPlace(int language) : m_path(helpFilePath(language))
    {
        if (QFile::exists(m_path))
            return;
        QFile f(m_path);
        m_made = f.open(QIODevice::WriteOnly);
    }
    ~HelpFileInPlace()
    {
        if (m_made)
            QFile::remove(m_path);
    }

private:
    QString m_path;
    bool m_made = false;
};

} // namespace

void TestLanguage::helpOpensTheManualOfTheCurrentLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("file");
    QTest::newRow("English") << 0 << "HELP-EN.chm";
    QTest::newRow("Simplified Chinese") << 1 << "HELP-CN.chm";
    QTest::newRow("Traditional Chinese") << 2 << "HELP-TW.chm";
}

void TestLanguage::helpOpensTheManualOfTheCurrentLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, file);
    // Started in another language, then switched, so the manual follows the switch and not the start.
    makeWindow((language + 2) % 3);
    languageAction(language)->trigger();
    QStringList opened;
    setDocumentOpener([&opened](const QString &path) {
        opened.append(path);
        return true;
    });
    HelpFileInPlace manual(language);
    m_window->actHelp->trigger();
    QTest::mouseClick(m_window->helpButton, Qt::LeftButton);
    QCOMPARE(opened.size(), 2);
    for (const QString &path : opened) {
        QCOMPARE(path, helpFilePath(language));
        QCOMPARE(QFileInfo(path).fileName(), file);
        QVERIFY(QFileInfo(path).isAbsolute());
    }
}

void TestLanguage::helpThatCannotOpenSaysWhy_data()
{
    QTest::addColumn<bool>("handedOver"); // what the desktop answers
    QTest::addColumn<QString>("onPath");  // programs found on the search path
    QTest::addColumn<QString>("missing");
    QTest::newRow("no launcher") << false << "" << "The desktop launcher xdg-open is missing (package xdg-utils).";
    QTest::newRow("launcher without a program") << false << "xdg-open" << "The desktop has no program that opens it.";
    QTest::newRow("no help viewer") << true << "xdg-open"
                                    << "No program that shows compiled help is installed (package xchm).";
    QTest::newRow("all there") << true << "xdg-open xchm" << "";
}

void TestLanguage::helpThatCannotOpenSaysWhy()
{
    QFETCH(bool, handedOver);
    QFETCH(QString, onPath);
    QFETCH(QString, missing);
    makeWindow(0);
    const QString path = helpFilePath(0);
    HelpFileInPlace manual(0);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QTemporaryDir bin;
    for (const QString &program : onPath.split(' ', Qt::SkipEmptyParts)) {
        QFile f(bin.filePath(program));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    setDocumentOpener([handedOver](const QString &) { return handedOver; });
    QStringList texts;
    ModalWatcher watcher([&texts](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            texts << box->text();
            QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
        }
    });
    m_window->actHelp->trigger();
    qputenv("PATH", oldPath);
    setDocumentOpener({});
    QCOMPARE(texts, missing.isEmpty() ? QStringList()
                                      : QStringList { QStringLiteral("Cannot open the help file %1:\n%2").arg(path, missing) });
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
