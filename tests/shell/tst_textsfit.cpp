// Every window of the program, in each language, shows its texts whole: no label, button, check box,
// tab, header section or combo item is wider than the room it is given. Each window is reached by a
// switch from another language, as a user reaches it. A window joins the walk with one line in
// windowTable().

#include "comm/globals.h"
#include "modalwatcher.h"
#include "connection/comsetup.h"
#include "connection/settype.h"
#include "monitor/advoptiondialog.h"
#include "monitor/hideparameter.h"
#include "monitor/mainadvplot.h"
#include "monitor/maindialplot.h"
#include "monitor/optiondialogs.h"
#include "monitor/passworddlg.h"
#include "parameter/comparison.h"
#include "parameter/parameter.h"
#include "parameter/parinformation.h"
#include "parameter/search.h"
#include "parameter/selection.h"
#include "pseudoterminal.h"
#include "quicksetup/quicksetup.h"
#include "seriesfixture.h"
#include "shell/about.h"
#include "shell/appglobals.h"
#include "shell/filedialoglocale.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/startup.h"
#include "shell/textfit.h"
#include "textroom.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMessageBox>
#include <QProgressDialog>
#include <QFontDatabase>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolTip>
#include <QTemporaryDir>
#include <QTranslator>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace
{

const char *const LanguageNames[] = { "English", "Simplified Chinese", "Traditional Chinese" };
const QDateTime Dated(QDate(2024, 3, 5), QTime(14, 7));

// The program as a user has it when a window opens: the main window in the language, a drive of
// series D at station 1 with its table loaded and the parameter form shown.
struct Program {
    CMainWindow *window = nullptr;
    CParameter *form() const { return window->parameterForm; }
};

// A window in the state to be walked. Windows the program keeps (the main window and what it owns)
// come back with owned false; the walk deletes the others.
struct Opened {
    QWidget *window;
    bool owned;
};

// A technician's laptop: 1366 x 768, less 40 px for a panel.
const QSize WorkArea(1366, 728);

struct WindowCase {
    const char *name;
    std::function<Opened(Program &)> open;
};

// The fixed or least size a window is built with, plus what a language may grow it, by the start of
// its name; of two rows that name a window the later one counts.
const std::tuple<const char *, int, int> BuiltSizes[] {
    { "comparison", 650, 450 }, { "parameter help", 445, 220 }, { "about", 490, 290 }, { "wizard", 660, 700 },
    { "monitor window", 939 + 90, 669 }, { "monitor window, service page in service mode", 939 + 150, 669 },
    { "trend window", 1050 + 160, 669 }, { "plot option", 260 + 30, 200 }, { "dial option", 200 + 15, 110 },
};

// Set by tests/shell/underwm.sh, which runs the walk under Xvfb and openbox.
bool underWindowManager()
{
    return qEnvironmentVariableIsSet("TAVIRON_WINDOW_MANAGER");
}

Opened kept(QWidget *window)
{
    window->show();
    return { window, false };
}

// A window the program shows maximized, as a laptop's screen shows it: the offscreen screen is
// smaller than the laptop's.
Opened maximized(QWidget *window)
{
    window->showNormal();
    // Under a window manager the window keeps the normal size the program gives it.
    if (underWindowManager())
        return { window, false };
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    window->setGeometry(QRect(QPoint(0, 0), WorkArea - frame));
    return { window, false };
}

Opened made(QWidget *window)
{
    window->show();
    return { window, true };
}

// The tooltip a user hovering the item sees: its whole text when the view cuts it, none when it fits.
QString tipOf(QAbstractItemView *view, const QModelIndex &index)
{
    const QRect cell = view->visualRect(index);
    QHelpEvent help(QEvent::ToolTip, cell.center(), view->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(view->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// Ticks the first group of the selection dialog's tree and adds it, so the right-hand list holds rows.
CSelPar *selectionWithRows()
{
    auto *dialog = new CSelPar(nullptr);
    if (QTreeWidgetItem *group = dialog->tableLeft->topLevelItem(0)) {
        group->setCheckState(1, Qt::Checked);
        dialog->onItemClicked(group, 1);
        dialog->addPara();
    }
    return dialog;
}

// The monitor window as its button opens it, on one of its pages.
Opened monitorPage(Program &p, int tab)
{
    QMetaObject::invokeMethod(p.window, "iniSysMon");
    MainDialPlot *monitor = p.window->monitorWindow;
    monitor->tabWidget->setCurrentIndex(tab);
    return maximized(monitor);
}

// The wizard of a drive of the series, on one step (and, on Step 4, one of its two lists).
Opened wizardStep(char series, int step, int list = 0)
{
    const char connected = g_seriesLetter;
    g_seriesLetter = series;
    auto *wizard = new QuickSetup(nullptr);
    g_seriesLetter = connected;
    wizard->tabWidget->setCurrentIndex(step);
    wizard->functionTabWidget->setCurrentIndex(list);
    return made(wizard);
}

// A batch's progress as the program shows it, over the window that runs the batch.
Opened progress(QWidget *parent, const QString &title)
{
    auto *dialog = new QProgressDialog(QString(), CParameter::tr("Cancel"), 0, 100, parent, Qt::WindowSystemMenuHint);
    dialog->setWindowTitle(title);
    fitWindowTitle(dialog);
    return made(dialog);
}

// Every window and dialog, in the state a user meets it. Add new windows here.
const QVector<WindowCase> &windowTable()
{
    static const QVector<WindowCase> table {
        { "main window", [](Program &p) { return maximized(p.window); } },
        { "parameter form, comparison list open", [](Program &p) {
              maximized(p.window);
              p.form()->VerifyParameter->showPopup();
              return kept(p.window);
          } },
        { "comparison, default against current", [](Program &p) {
              p.form()->showComparison(0);
              return kept(p.form()->compareResult);
          } },
        { "comparison, current against setting", [](Program &p) {
              p.form()->showComparison(2);
              return kept(p.form()->compareResult);
          } },
        { "parameter help", [](Program &p) {
              CParameter *form = p.form();
              form->PartableWidget->setCurrentCell(7, 0);
              form->ShowTooltip(form->PartableWidget->model()->index(7, 0));
              return kept(form->parInformation);
          } },
        { "selection dialog", [](Program &) { return made(selectionWithRows()); } },
        { "search dialog", [](Program &) { return made(new CSearch(nullptr)); } },
        { "set-up dialog", [](Program &p) { return kept(p.window->comSetup); } },
        { "set-up dialog, Modbus RTU", [](Program &p) {
              p.window->comSetup->ProcomboBox->setCurrentIndex(1);
              return kept(p.window->comSetup);
          } },
        { "station and drive type", [](Program &p) { return kept(p.window->navigation->stationDialog); } },
        { "about", [](Program &) { return made(new CAbout(nullptr)); } },
        { "monitor window, monitor page", [](Program &p) { return monitorPage(p, 0); } },
        { "monitor window, alarm page", [](Program &p) { return monitorPage(p, 1); } },
        { "monitor window, service page", [](Program &p) { return monitorPage(p, 2); } },
        { "monitor window, service page in service mode", [](Program &p) {
              Opened opened = monitorPage(p, 2);
              p.window->monitorWindow->servicePage->setServiceMode(true);
              return opened;
          } },
        { "monitor window, RAM page", [](Program &p) {
              QMetaObject::invokeMethod(p.window, "iniSysMon");
              p.window->monitorWindow->toggleRamTab();
              return monitorPage(p, 3);
          } },
        { "access code", [](Program &) { return made(new PassWordDlg(nullptr)); } },
        { "trend window", [](Program &p) {
              QMetaObject::invokeMethod(p.window, "trendShow");
              return maximized(p.window->trendWindow);
          } },
        { "trend option", [](Program &) {
              auto *dialog = new AdvOptionDialog(nullptr);
              dialog->setXValue(30);
              dialog->setRecordTime(1200);
              return made(dialog);
          } },
        { "plot option", [](Program &) {
              auto *dialog = new OptionDialog(nullptr);
              dialog->setObjectName(QStringLiteral("Plot"));
              dialog->setXValue(60);
              dialog->setYValue(70);
              return made(dialog);
          } },
        { "dial option", [](Program &) {
              auto *dialog = new DialOptionDialog(nullptr);
              dialog->setObjectName(QStringLiteral("LeftDial"));
              dialog->setSpinValue(100);
              return made(dialog);
          } },
        { "Read All progress", [](Program &p) { return progress(p.form(), CParameter::tr("Reading parameters...")); } },
        { "alarm page progress",
          [](Program &p) { return progress(monitorPage(p, 1).window, HideParameter::tr("Alarm Information...")); } },
        { "wizard step 1", [](Program &) { return wizardStep('D', 0); } },
        { "wizard step 2", [](Program &) { return wizardStep('D', 1); } },
        { "wizard step 3", [](Program &) { return wizardStep('D', 2); } },
        { "wizard step 4, outputs", [](Program &) { return wizardStep('D', 3, 0); } },
        { "wizard step 4, inputs", [](Program &) { return wizardStep('D', 3, 1); } },
        { "wizard step 4 of series A, outputs", [](Program &) { return wizardStep('A', 3, 0); } },
        { "wizard step 4 of series A, inputs", [](Program &) { return wizardStep('A', 3, 1); } },
    };
    return table;
}

} // namespace

class TestTextsFit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void everyTextFitsItsRoom_data();
    void everyTextFitsItsRoom();
    void qtOwnTextsFollowTheLanguage_data();
    void qtOwnTextsFollowTheLanguage();
    void elidedCellsShowTheirWholeText_data();
    void elidedCellsShowTheirWholeText();

private:
    void makeProgram(int language);

    QTemporaryDir m_appDir;
    ListedLine m_line;
    Program m_program;
};

void TestTextsFit::initTestCase()
{
    QVERIFY(m_appDir.isValid());
    // The file dialogs are Qt's own, as on a desktop without a native one.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    initShellResources();
    qApp->installTranslator(&g_translator);
    for (const char *folder : { "InvParameter", "ParameterInforamtion", "images" })
        QVERIFY(QFile::link(binDir() + QLatin1Char('/') + QLatin1String(folder),
                            m_appDir.path() + QLatin1Char('/') + QLatin1String(folder)));
}

void TestTextsFit::init()
{
    QVERIFY(m_line.open());
    g_commandLineDoc.clear();
    g_seriesLetter = '0';
}

void TestTextsFit::cleanup()
{
    delete m_program.window;
    m_program.window = nullptr;
    g_mainWindow = nullptr;
    g_translator.load(QString());
    m_line.close();
}

void TestTextsFit::makeProgram(int language)
{
    // Started in another language and switched, so what a switch leaves is what is walked.
    const int start = (language + 1) % 3;
    g_appDir = m_appDir.path() + QLatin1Char('/');
    g_language = static_cast<unsigned char>(start);
    m_program.window = new CMainWindow(nullptr);
    g_mainWindow = m_program.window;
    m_program.window->resize(WorkArea);

    const SeriesSetup series = seriesSetup('D');
    applySeries(series, QStringLiteral("0"), start);
    g_appDir = m_appDir.path() + QLatin1Char('/');
    CNavigation *navigation = m_program.window->navigation;
    auto *item = new QStandardItem(QStringLiteral("NO.001 ") + series.type);
    navigation->treeRoot->appendRow(item);
    navigation->currentItem = item;
    navigation->stationTypes[1] = series.type;
    navigation->stationTested[1] = 1;
    navigation->PotLabel->setText(CComSetup::tr("Select station: NO.") + QStringLiteral("001 ") + series.type);
    m_program.form()->loadParameterTable();
    m_program.form()->show();

    QAction *const actions[] = { m_program.window->actE, m_program.window->actCS, m_program.window->actCT };
    actions[language]->trigger();
}

void TestTextsFit::everyTextFitsItsRoom_data()
{
    QTest::addColumn<int>("windowIndex");
    QTest::addColumn<int>("language");
    for (int w = 0; w < windowTable().size(); ++w)
        for (int language = 0; language < 3; ++language)
            QTest::addRow("%s, %s", windowTable().at(w).name, LanguageNames[language]) << w << language;
}

void TestTextsFit::everyTextFitsItsRoom()
{
    QFETCH(int, windowIndex);
    QFETCH(int, language);
    makeProgram(language);
    const WindowCase &entry = windowTable().at(windowIndex);
    Opened opened = entry.open(m_program);
    std::unique_ptr<QWidget> owner(opened.owned ? opened.window : nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(opened.window));
    QStringList cut =
        cutTexts(opened.window, QLatin1String(entry.name), QLatin1String(LanguageNames[language]));
    // The least size the user can give the window stays within its built size and allowance, and
    // with its frame (none offscreen) within the work area.
    const QSize frame = opened.window->frameGeometry().size() - opened.window->geometry().size();
    const QSize least = opened.window->minimumSize().expandedTo(opened.window->minimumSizeHint());
    QSize built = WorkArea;
    for (const auto &[start, width, height] : BuiltSizes)
        if (QLatin1String(entry.name).startsWith(QLatin1String(start)))
            built = QSize(width, height);
    if (least.boundedTo(built.boundedTo(WorkArea - frame)) != least)
        cut << QStringLiteral("the window needs %1 x %2 px").arg(least.width()).arg(least.height());
    // Under a screen as large as the laptop's (Xvfb), the frame itself must lie inside the work area;
    // under a window manager, once it has framed the window, inside the screen's available area, its
    // bar holding the title in its face beside its icon and buttons, each as wide as the bar is high.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWindow *handle = opened.window->windowHandle();
    const auto outer = [&] { return opened.window->frameGeometry(); };
    if (underWindowManager() && !opened.window->windowFlags().testFlag(Qt::FramelessWindowHint)) {
        QVERIFY(QTest::qWaitFor([&] { return !handle->frameMargins().isNull(); }, 20000));
        if (!QTest::qWaitFor([&] { return screen.contains(outer()); }, 5000))
            cut << QStringLiteral("the frame leaves the screen at y = %1").arg(outer().top());
        QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
        font.setBold(true);
        const QMargins bar = handle->frameMargins();
        if (outer().width() < QFontMetrics(font).horizontalAdvance(opened.window->windowTitle()) + 4 * bar.top()
                                  + bar.left() + bar.right())
            cut << QStringLiteral("the title bar cuts \"%1\"").arg(opened.window->windowTitle());
    } else if (screen.width() >= WorkArea.width() && screen.height() >= WorkArea.height()
               && !QRect(screen.topLeft(), WorkArea).contains(outer())) {
        cut << QStringLiteral("the window's frame leaves the work area");
    }
    // TAVIRON_SHOTS names a folder for a picture of the screen at each row, to look at under Xvfb.
    const QString shots = qEnvironmentVariable("TAVIRON_SHOTS");
    if (!shots.isEmpty()) {
        QTest::qWait(200);
        QGuiApplication::primaryScreen()->grabWindow(0).save(
            shots + QLatin1Char('/') + QString::fromUtf8(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'))
            + QStringLiteral(".png"));
    }
    QVERIFY2(cut.isEmpty(), qPrintable(QLatin1Char('\n') + cut.join(QLatin1Char('\n'))));
}

void TestTextsFit::qtOwnTextsFollowTheLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("expected"); // OK of a warning; Open, Cancel and a file's date; the same of Save
    const QString system = QLocale::system().toString(Dated, QLocale::ShortFormat);
    QTest::newRow("English") << 0 << QStringList { "OK", "Open", "Cancel", system, "Save", "Cancel", system };
    QTest::newRow("Simplified Chinese")
        << 1 << QStringList { "确定", "打开", "取消", "2024/3/5 下午2:07", "保存", "取消", "2024/3/5 下午2:07" };
    QTest::newRow("Traditional Chinese")
        << 2 << QStringList { "確定", "開啟", "取消", "2024/3/5 下午2:07", "儲存", "取消", "2024/3/5 下午2:07" };
}

// The program's own warning box and the parameter form's Open and Save dialogs, as the user meets them.
void TestTextsFit::qtOwnTextsFollowTheLanguage()
{
    QFETCH(int, language);
    QFETCH(QStringList, expected);
    makeProgram(language);
    QFile dated(m_appDir.path() + QStringLiteral("/dated.txt"));
    QVERIFY(dated.open(QIODevice::WriteOnly) && dated.setFileTime(Dated, QFileDevice::FileModificationTime));
    QStringList seen;
    // Qt's file dialog retitles its accept button ("打开(&O)" becomes "打开") once its folder has loaded,
    // before or after this look: the mnemonic is no part of the language.
    const QRegularExpression mnemonic(QStringLiteral("\\(.\\)$"));
    auto shown = [&](QAbstractButton *b) { return b ? b->text().remove(u'&').remove(mnemonic) : QString(); };
    ModalWatcher watcher([&](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            seen << shown(box->button(QMessageBox::Ok));
            box->reject();
        } else if (auto *files = qobject_cast<QFileDialog *>(modal)) {
            auto *buttons = files->findChild<QDialogButtonBox *>();
            QVERIFY(buttons);
            seen << shown(files->acceptMode() == QFileDialog::AcceptOpen ? buttons->button(QDialogButtonBox::Open)
                                                                        : buttons->button(QDialogButtonBox::Save))
                 << shown(buttons->button(QDialogButtonBox::Cancel));
            auto *view = files->findChild<QTreeView *>(QStringLiteral("treeView"));
            auto *columns = dynamic_cast<FileColumnsInLanguage *>(view->itemDelegateForColumn(3));
            const QModelIndex date = qobject_cast<QFileSystemModel *>(view->model())->index(dated.fileName(), 3);
            seen << (columns ? columns->text(date) : date.data().toString());
            files->reject();
        }
    });
    m_program.window->ErrWarning(8);
    QTRY_VERIFY(!seen.isEmpty()); // the box opens from the event loop
    QTest::mouseClick(m_program.form()->openPB, Qt::LeftButton);
    QTest::mouseClick(m_program.form()->savePB, Qt::LeftButton);
    QCOMPARE(seen, expected);
}

void TestTextsFit::elidedCellsShowTheirWholeText_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<char>("series");
    QTest::addColumn<bool>("modbus");
    for (int language = 0; language < 3; ++language)
        QTest::newRow(LanguageNames[language]) << language << 'D' << false;
    QTest::newRow("series A, English, Modbus RTU") << 0 << 'A' << true;
}

// On a laptop's screen the parameter table's and the comparison's other columns are as wide as their
// texts. However they were sized, the edited column shows whole, and the Name column is as wide as its longest
// name or reaches up to it. The station's name in the tree and the comparison mode show whole too. A parameter name
// the table cuts short shows whole as the cell's tooltip; a number that fits shows none.
void TestTextsFit::elidedCellsShowTheirWholeText()
{
    QFETCH(int, language);
    QFETCH(char, series);
    QFETCH(bool, modbus);
    // The font X11 gives the program: offscreen's 12 points fill a laptop's width with the headers alone.
    const auto restore = qScopeGuard([font = QApplication::font()] { QApplication::setFont(font); });
    QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9));
    makeProgram(language);
    applySeries(seriesSetup(series), QStringLiteral("0"), language);
    m_program.form()->loadParameterTable();
    maximized(m_program.window);
    QVERIFY(QTest::qWaitForWindowExposed(m_program.window));
    QTableWidget *table = m_program.form()->PartableWidget;
    table->setColumnHidden(2, !modbus);
    m_program.form()->showComparison(0);
    CompareResult *compare = m_program.form()->compareResult;
    QVERIFY(QTest::qWaitForWindowExposed(compare));
    const std::tuple<QTableWidget *, int, int> views[] = { { table, 3, 6 }, { compare->CompareWidget, 2, 4 } };
    for (const auto &[view, nameColumn, other] : views) {
        QHeaderView *header = view->horizontalHeader();
        const int edited = view == table ? 10 : header->count() - 1;
        const int end = header->sectionPosition(edited) + header->sectionSize(edited) - view->viewport()->width();
        const int longest = static_cast<QAbstractItemView *>(view)->sizeHintForColumn(nameColumn);
        QVERIFY2(end == 0 || (end < 0 && longest <= header->sectionSize(nameColumn)), qPrintable(QString::number(end)));
        // In English "Multi-speed 1 (high speed)", "Motor overload protection current", "DC braking
        // start frequency": every text of their rows up to the edited one shows whole, unless the names are cut.
        for (const char *parameter : { "P.4", "P.9", "P.10" }) {
            const auto found = view->findItems(parameter, Qt::MatchEndsWith);
            QVERIFY(!found.isEmpty());
            for (int column = 0; column <= edited; ++column) {
                const QModelIndex cell = view->model()->index(found.first()->row(), column);
                if (column == nameColumn && end == 0)
                    continue;
                QVERIFY2(header->isSectionHidden(column) || tipOf(view, cell).isEmpty(), qPrintable(cell.data().toString()));
            }
        }
        QCOMPARE(cutTexts(header, QStringLiteral("table"), LanguageNames[language]), QStringList());
        const int before = header->sectionSize(nameColumn);
        header->resizeSection(other, header->sectionSize(other) - 30);
        QVERIFY(header->sectionSize(nameColumn) > before || before >= longest);
        QVERIFY(header->length() >= view->viewport()->width());
    }
    const QModelIndex station = m_program.window->navigation->currentItem->index();
    QVERIFY(station.data().toString().startsWith(QStringLiteral("NO.001 ")));
    QCOMPARE(tipOf(m_program.window->navigation->SysSettreeView, station), QString());
    QVERIFY(m_program.form()->VerifyParameter->width() >= m_program.form()->VerifyParameter->sizeHint().width());
    // The user narrows the name column until the first name no longer fits.
    const QString name = table->item(0, 3)->text();
    QVERIFY(!name.isEmpty());
    table->setColumnWidth(3, table->fontMetrics().horizontalAdvance(name) / 2);
    auto tipAt = [&](int row, int column) { return tipOf(table, table->model()->index(row, column)); };
    QCOMPARE(table->item(0, 1)->text().trimmed(), QStringLiteral("P.0"));
    QCOMPARE(tipAt(0, 1), QString());
    QCOMPARE(tipAt(0, 3), name);
}

QTEST_MAIN(TestTextsFit)
#include "tst_textsfit.moc"
