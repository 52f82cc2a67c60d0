// The trend window as the user sees it, without a drive: what it shows after construction, the
// channel controls, the option dialog, and Save Data and Save Chart through their dialogs.
#include "monitorfixture.h"
#include "monitor/advanceplot.h"
#include "monitor/advoptiondialog.h"
#include "monitor/mainadvplot.h"
#include "platform/textfiles.h"
#include "testfiles.h"
#include "useranswers.h"

#include <QScreen>
#include <QTextCodec>

#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QLayout>
#include <QPushButton>
#include <QSpinBox>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>

namespace
{

class StillClock : public TrendClock
{
public:
    void restart() override { ms = 0; }
    double elapsedMs() const override { return ms; }
    QTime now() const override { return QTime(9, 5, 1, 20); }
    double ms = 0;
};

} // namespace

class tst_TrendWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowAsBuilt();
    void channelControls();
    void chosenColour();
    void optionDialog();
    void saveData_data();
    void saveData();
    void saveChart();
    void valueCursorUnderTheMouse_data();
    void valueCursorUnderTheMouse();
    void crossingChannelsEachShowTheirColour();

private:
    MainAdvPlot *open();
    // Passes stepMs apart, channel 1 in each, channel 2 where `second` has a 1.
    void record(MainAdvPlot *w, int stepMs = 100, const QString &second = QStringLiteral("011"));
    NavFixture m_fix;
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    QString m_desktop;
};

void tst_TrendWindow::initTestCase()
{
    ensureMonitorThread();
    m_oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(m_home.path()));
    m_desktop = m_home.path() + "/Desktop";
    QVERIFY(QDir().mkpath(m_desktop));
}

void tst_TrendWindow::init()
{
    QVERIFY(m_fix.setUp());
}

void tst_TrendWindow::cleanup()
{
    m_fix.tearDown();
}

MainAdvPlot *tst_TrendWindow::open()
{
    g_seriesLetter = 'A';
    g_firmwareVersion = QStringLiteral("1.10");
    g_modelCode = QStringLiteral("0");
    g_language = 0;
    QMetaObject::invokeMethod(m_fix.window(), "trendShow");
    return m_fix.window()->trendWindow;
}

void tst_TrendWindow::windowAsBuilt()
{
    MainAdvPlot *w = open();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->windowTitle(), QStringLiteral("Trend"));
    // 1050 wide, or what the groups need at our fonts, so that none is squeezed below its texts.
    QCOMPARE(w->minimumSize(), QSize(qMax(1050, w->layout()->totalMinimumSize().width()), 669));
    QVERIFY(w->isMaximized());
    QStringList bar;
    for (QAction *a : w->toolBar->actions()) {
        auto *b = qobject_cast<QToolButton *>(w->toolBar->widgetForAction(a));
        bar << (a->isSeparator() ? QStringLiteral("|") : b ? b->text() : QStringLiteral("info"));
    }
    QCOMPARE(bar.join(' '), QStringLiteral("info | info | Run | Clear All Zoom In Zoom Out Option | Save Data "
                                           "Save Chart Stop Move Exit"));
    // The drive's data fill in without moving a button from under the pointer; neighbours keep apart.
    const QPoint run = w->runButton->pos(), exit = w->exitButton->pos();
    QVERIFY(w->saveChartButton->x() - w->saveDataButton->geometry().right() > 6);
    w->setDriveInfo({ QStringLiteral("VR3-A-37K"), QStringLiteral("1.10"), QStringLiteral("75.50A"), QStringLiteral("440V") });
    QTest::qWait(50);
    QCOMPARE(w->runButton->pos(), run);
    QCOMPARE(w->exitButton->pos(), exit);
    QStringList spins, checks, items, sheets, widths;
    for (int c = 0; c < 8; ++c) {
        spins << QString::number(w->yRangeSpins.at(c)->value());
        checks << (w->channelChecks.at(c)->isChecked() ? "1" : "0");
        items << QString::number(w->itemBoxes.at(c)->currentIndex());
        sheets << w->colourButtons.at(c)->styleSheet();
        widths << QString::number(w->plot->curveList().at(c)->pen().width());
    }
    QCOMPARE(spins.join(' '), QStringLiteral("80 500 15 80 20 30 20 20"));
    // A range of 0 cannot be entered.
    QCOMPARE(w->yRangeSpins.at(0)->minimum(), 1);
    QCOMPARE(checks.join(""), QStringLiteral("11100000"));
    QCOMPARE(items.join(' '), QStringLiteral("0 1 2 3 4 5 6 8"));
    QCOMPARE(sheets.at(6), QStringLiteral("background-color:saddlebrown;"));
    QCOMPARE(widths.join(' '), QStringLiteral("2 2 2 2 2 2 2 2"));
    QCOMPARE(w->plot->curveList().at(6)->pen().color(), QColor(139, 69, 19));
    QCOMPARE(g_advPollFlags, QVector<bool>(g_monitorCodes.size(), false));
    for (QWidget *enabled : std::initializer_list<QWidget *> { w->runButton, w->optionButton, w->saveDataButton,
                                                                w->saveChartButton, w->itemBoxes.at(0),
                                                                w->yRangeSpins.at(0) })
        QVERIFY(enabled->isEnabled());

    // Closed and opened again: a new window with the defaults.
    w->yRangeSpins.at(0)->setValue(7);
    w->closeWindow();
    MainAdvPlot *again = open();
    QVERIFY(again->isVisible());
    QCOMPARE(again->yRangeSpins.at(0)->value(), 80);
}

void tst_TrendWindow::channelControls()
{
    MainAdvPlot *w = open();
    w->channelChecks.at(3)->setChecked(true);
    QVERIFY(g_advPollFlags.at(3));
    QVERIFY(w->plot->curveList().at(3)->isVisible());
    w->channelChecks.at(3)->setChecked(false);
    QVERIFY(!w->plot->curveList().at(3)->isVisible());
    w->penWidthBoxes.at(2)->setCurrentIndex(4);
    QCOMPARE(w->plot->curveList().at(2)->pen().width(), 5);
    QCOMPARE(w->plot->curveList().at(1)->pen().width(), 2);
    QTest::mouseClick(w->moveButton, Qt::LeftButton);
    QVERIFY(w->dragMode);
    QTest::mouseClick(w->moveButton, Qt::LeftButton);
    QVERIFY(!w->dragMode);
}

void tst_TrendWindow::chosenColour()
{
    MainAdvPlot *w = open();
    ModalWatcher watcher([](QWidget *modal) {
        if (auto *dialog = qobject_cast<QColorDialog *>(modal)) {
            dialog->setCurrentColor(QColor(10, 20, 30));
            dialog->accept();
        }
    });
    QTest::mouseClick(w->colourButtons.at(6), Qt::LeftButton);
    QCOMPARE(w->colourButtons.at(6)->styleSheet(), QStringLiteral("background-color:rgb(10,20,30)"));
    QCOMPARE(w->plot->curveList().at(6)->pen().color(), QColor(10, 20, 30));
    QCOMPARE(w->plot->curveList().at(5)->pen().color(), QColor(Qt::black));
}

void tst_TrendWindow::optionDialog()
{
    MainAdvPlot *w = open();
    QStringList seen;
    ModalWatcher watcher([&seen](QWidget *modal) {
        if (auto *dialog = qobject_cast<AdvOptionDialog *>(modal)) {
            QStringList offsets;
            for (QSpinBox *box : dialog->offsetSpinBoxes)
                offsets << QString::number(box->value());
            seen << QStringLiteral("%1 %2 %3").arg(dialog->xAxisSpinBox->value())
                        .arg(dialog->recordTimeSpinBox->value())
                        .arg(offsets.join(','));
            dialog->xAxisSpinBox->setValue(45);
            dialog->recordTimeSpinBox->setValue(100);
            dialog->offsetSpinBoxes.at(1)->setValue(5);
            QTest::mouseClick(dialog->okButton, Qt::LeftButton);
        }
    });
    QTest::mouseClick(w->optionButton, Qt::LeftButton);
    QCOMPARE(seen, QStringList { "30 1200 0,0,0,0,0,0,0,0" });
    QCOMPARE(w->plot->xInterval().maxValue(), 45.0);
    QCOMPARE(w->plot->recordLimitSeconds(), 100);
    QTest::mouseClick(w->optionButton, Qt::LeftButton);
    QCOMPARE(seen.last(), QStringLiteral("45 100 0,0,0,0,0,0,0,0"));
}

void tst_TrendWindow::record(MainAdvPlot *w, int stepMs, const QString &second)
{
    auto *clock = new StillClock();
    w->plot->setClock(clock);
    w->applyYAxisRanges();
    w->plot->start();
    const QVector<int> items { 0, 8, 2, 3, 4, 5, 6, 8 };
    std::lock_guard<FairMutex> lock(g_monitorListsMutex);
    for (int pass = 0; pass < second.size(); ++pass) {
        g_monitorValues[0] = 50.0 + pass;
        g_monitorValues[8] = 0.5 * pass;
        clock->ms = 1000 + stepMs * pass;
        w->plot->addData({ true, second.at(pass) == '1', false, false, false, false, false, false }, items);
    }
}

void tst_TrendWindow::saveData_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("text");
    QTest::newRow("no ending takes the workbook's") << "~/run" << "~/run.xlsx" << false;
    QTest::newRow("capitals") << "~/run.TXT" << "~/run.TXT" << true;
    QTest::newRow("dotted folder") << "~/a.b/run" << "~/a.b/run.xlsx" << false;
    QTest::newRow("xls names a workbook") << "~/run.xls" << "~/run.xlsx" << false;
}

void tst_TrendWindow::saveData()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(bool, text);
    typed.replace("~", m_desktop);
    written.replace("~", m_desktop);
    QDir().mkpath(m_desktop + "/a.b");
    MainAdvPlot *w = open();
    QVERIFY(w->itemBoxes.at(1)->count() > 8);
    w->itemBoxes.at(1)->setCurrentIndex(8);
    w->channelChecks.at(2)->setChecked(false);
    record(w);
    QVERIFY(writeFile(typed, "typed") && writeFile(written, "kept")); // the question names the file to be written
    UserAnswers user;
    user.fileNames << typed << QString() << typed; // No writes nothing and asks again (cancelled here); then Yes
    user.replies << QMessageBox::No;
    QTest::mouseClick(w->saveDataButton, Qt::LeftButton);
    QCOMPARE(fileBytes(written), QByteArray("kept"));
    QTest::mouseClick(w->saveDataButton, Qt::LeftButton);
    QCOMPARE(user.dialogs.removeDuplicates(), 2); // three times the same dialog
    QCOMPARE(user.boxes.removeDuplicates(), 1);
    QCOMPARE(user.dialogs, QStringList { "Save Data | XLS Files(*.xlsx);TXT Files(*.txt)" });
    QCOMPARE(user.boxes, QStringList { "Save Data | " + QFileInfo(written).fileName()
                                       + " already exists.\nDo you want to replace it?" });
    const QByteArray bytes = fileBytes(written);
    QCOMPARE(fileBytes(typed), typed == written ? bytes : QByteArray("typed"));
    QCOMPARE(bytes.startsWith("PK"), !text);
    if (text) {
        const QString date = QDate::currentDate().toString("yyyy-MM-dd");
        const QByteArray expected = date.toLatin1() + "\r\nSystem Time\t"
            + gbkCodec()->fromUnicode(w->itemBoxes.at(0)->currentText() + "\t" + w->itemBoxes.at(1)->currentText())
            + "\t\r\n'09:05:01.020 am\t50\t\t\r\n'09:05:01.020 am\t51\t0.5\t\r\n'09:05:01.020 am\t52\t1\t\r\n";
        QCOMPARE(bytes, expected);
    }
    // Cancelled: nothing written, nothing said.
    UserAnswers cancel;
    QTest::mouseClick(w->saveDataButton, Qt::LeftButton);
    QCOMPARE(cancel.boxes, QStringList());
}

void tst_TrendWindow::saveChart()
{
    MainAdvPlot *w = open();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    {
        UserAnswers user;
        user.fileNames << m_desktop + "/chart";
        QTest::mouseClick(w->saveChartButton, Qt::LeftButton);
        QCOMPARE(user.dialogs, QStringList { "Save Chart | *.png" });
    }
    QImage picture(m_desktop + "/chart.png");
    QCOMPARE(picture.size(), w->grab().size());
    // A target the file system refuses: the user is told, nothing is left behind.
    UserAnswers user;
    user.fileNames << m_desktop + "/missing/chart.png";
    QTest::mouseClick(w->saveChartButton, Qt::LeftButton);
    QTRY_COMPARE(user.boxes.size(), 1);
    QVERIFY2(user.boxes.first().startsWith("Warning | Cannot write file " + m_desktop + "/missing/chart.png:\n"),
        qPrintable(user.boxes.first()));
    QVERIFY(!QFileInfo::exists(m_desktop + "/missing"));
}

void tst_TrendWindow::valueCursorUnderTheMouse_data()
{
    QTest::addColumn<int>("stepMs");
    QTest::addColumn<QString>("second"); // passes that recorded channel 2
    QTest::addColumn<QVector<double>>("moves"); // each after a move into the second pass, which shows both
    QTest::addColumn<QString>("shown"); // the Channel Value boxes after each move
    // Passes at 0.5, 0.6, 0.7 s; 0.9 lies right of the newest.
    QTest::newRow("passes_0.1_s_apart") << 100 << "011" << QVector<double> { 0.52, 0.65, 0.9 }
                                        << "50.00 0 0 0 0 0 0 0 51.00 0.50 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
    // Eight items a pass: at 0.5, 0.7, 0.9, 1.1, 1.3 s; channel 2 unchecked during the third.
    QTest::newRow("passes_0.2_s_apart") << 200 << "01011" << QVector<double> { 0.52, 0.65, 0.85, 0.99, 1.05, 1.15, 1.4 }
        << "50.00 0 0 0 0 0 0 0 50.00 0 0 0 0 0 0 0 51.00 0.50 0 0 0 0 0 0 52.00 0 0 0 0 0 0 0 "
           "52.00 0 0 0 0 0 0 0 53.00 1.50 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
}

// Value-cursor mode on a stopped chart, through the window system as a user's mouse: pressed, moved and released.
// Each checked channel shows the value it recorded at or before the cursor, never the previous position's.
void tst_TrendWindow::valueCursorUnderTheMouse()
{
    QFETCH(int, stepMs);
    QFETCH(QString, second);
    QFETCH(QVector<double>, moves);
    MainAdvPlot *w = open();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->plot->setXAxisWidth(2, 100);
    record(w, stepMs, second);
    w->plot->stop();
    auto at = [w](double t) {
        return w->plot->canvas()->mapTo(w, QPoint(qCeil(w->plot->transform(QwtPlot::xBottom, t)), 50));
    };
    QStringList shown;
    QTest::mousePress(w->windowHandle(), Qt::LeftButton, {}, at(0.52));
    for (double t : moves) {
        QTest::mouseMove(w->windowHandle(), at(0.55 + stepMs / 1000.0));
        QTest::mouseMove(w->windowHandle(), at(t));
        for (QLineEdit *e : w->channelValueEdits)
            shown << e->text();
    }
    QTest::mouseRelease(w->windowHandle(), Qt::LeftButton, {}, at(moves.last()));
    QTEST(shown.join(' '), "shown");
    // The white cursor line stands on the screen, not only in the handler.
    const QImage screen = w->screen()->grabWindow(w->winId()).toImage();
    QCOMPARE(screen.pixelColor(at(moves.last()).x(), at(moves.last()).y() + 1), QColor(Qt::white));
}

// Frequency ramps up under a constant setting while the current ramps down: in sample pixel columns
// each channel's swatch colour shows where its value lies, at the default and the widest window.
void tst_TrendWindow::crossingChannelsEachShowTheirColour()
{
    MainAdvPlot *w = open();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    auto *clock = new StillClock();
    w->plot->setClock(clock);
    w->applyYAxisRanges();
    auto percent = [](int c, double f) { return c == 0 ? 75 * f : c == 1 ? 40 : 80 * (1 - f); };
    for (int width : { 30, 1000 }) {
        w->plot->setXAxisWidth(width, 3600);
        w->plot->start();
        for (int k = 0; k < 20 * width; ++k) {
            std::lock_guard<FairMutex> lock(g_monitorListsMutex);
            for (int c = 0; c < 3; ++c)
                g_monitorValues[c] = percent(c, k / (20.0 * width)) * w->spanValues.at(c) / 100;
            clock->ms = 500 + 50.0 * k;
            const bool setting = k < 3 * width || k >= 5 * width; // unchecked from 0.15 to 0.25 of the window
            w->plot->addData({ true, setting, true, false, false, false, false, false }, { 0, 1, 2, 3, 4, 5, 6, 8 });
        }
        w->plot->stop();
        const QImage canvas = w->plot->canvas()->grab().toImage();
        for (int i = 0; i < 14; ++i) { // each channel at 0.1, 0.3, 0.7 and 0.9 of the window; Ch1 and Ch2's gap at 0.2
            const double f = QVector<double> { 0.1, 0.3, 0.7, 0.9, 0.2 }.at(i / 3);
            const QColor swatch = w->colourButtons.at(i % 3)->palette().color(QPalette::Window);
            int best = 999;
            for (int dy = -3; dy <= 3; ++dy) {
                const QColor p = canvas.pixelColor(int(w->plot->transform(QwtPlot::xBottom, width * f)),
                    int(w->plot->transform(QwtPlot::yLeft, percent(i % 3, f))) + dy);
                best = qMin(best, qAbs(p.red() - swatch.red()) + qAbs(p.green() - swatch.green()) + qAbs(p.blue() - swatch.blue()));
            }
            QVERIFY2((best < 40) != (i == 13), // Ch2 at 0.2 lies in its gap
                qPrintable(QStringLiteral("width %1: Ch%2 at %3").arg(width).arg(i % 3 + 1).arg(f)));
        }
    }
}

QTEST_MAIN(tst_TrendWindow)
#include "tst_trendwindow.moc"
