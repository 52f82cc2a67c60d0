// The monitor window and its panels as the user sees them, without a drive: texts, sizes, dial
// scales, lamps and the option dialogs.
#include "monitorfixture.h"
#include "monitor/mainadvplot.h"

class tst_MonitorWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowAsBuilt();
    void reopeningBuildsANewWindow();
    void dialScalesAndTheirOptionDialog_data();
    void dialScalesAndTheirOptionDialog();
    void scaleLabelsNeverOverlap();
    void unitText_data();
    void unitText();
    void statusLamps_data();
    void statusLamps();
    void ioLamps_data();
    void ioLamps();
    void plotOptionDialog_data();
    void plotOptionDialog();
    void driveInformation_data();
    void driveInformation();
    void exitDuringAFailingPass();

private:
    MainDialPlot *open(char series = 'A', const QString &firmware = QStringLiteral("1.10"));
    NavFixture m_fix;
};

void tst_MonitorWindow::initTestCase()
{
    ensureMonitorThread();
}

void tst_MonitorWindow::init()
{
    QVERIFY(m_fix.setUp());
}

void tst_MonitorWindow::cleanup()
{
    m_fix.tearDown();
}

MainDialPlot *tst_MonitorWindow::open(char series, const QString &firmware)
{
    g_seriesLetter = series;
    g_firmwareVersion = firmware;
    g_modelCode = QStringLiteral("0");
    g_language = 0;
    return openMonitorWindow(m_fix.window());
}

void tst_MonitorWindow::windowAsBuilt()
{
    MainDialPlot *w = open();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->windowTitle(), QStringLiteral("Monitor"));
    // 939 by 669 at the least, wider where the texts of its panels need it.
    QCOMPARE(w->minimumHeight(), 669);
    QVERIFY(w->minimumWidth() >= 939);
    QVERIFY(w->minimumWidth() >= w->layout()->totalMinimumSize().width());
    QVERIFY(w->isMaximized());
    QStringList tabs;
    for (int i = 0; i < w->tabWidget->count(); ++i)
        tabs << w->tabWidget->tabText(i);
    QCOMPARE(tabs, QStringList({ "Monitor", "Alarm Code", "System Diagnosis" }));
    w->toggleRamTab();
    QCOMPARE(w->tabWidget->tabText(3), QStringLiteral("RAM"));
    QCOMPARE(w->tabWidget->currentIndex(), 0);
    w->toggleRamTab();
    QCOMPARE(w->tabWidget->count(), 3);

    QStringList captions;
    for (QLabel *label : w->infoLabels())
        captions << label->text();
    QCOMPARE(captions, QStringList({ "Inverter Type:", "...", "Version:", "...", "Output Current:", "...",
                                     "Input Voltage:", "...", "kw:", "..." }));
    QCOMPARE(w->runButton->text(), QStringLiteral("Run"));
    QCOMPARE(w->stopButton->text(), QStringLiteral("Stop"));
    QCOMPARE(w->exitButton->text(), QStringLiteral("Exit"));
    QCOMPARE(w->runButton->size(), QSize(64, 64));
    QCOMPARE(w->optionButton->text(), QStringLiteral("Option"));
    QCOMPARE(w->clearButton->text(), QStringLiteral(" Clear"));
    // 48 by 48, wider only where the font's text needs it.
    QCOMPARE(w->optionButton->height(), 48);
    QVERIFY(w->optionButton->width() >= 48);
    QVERIFY(w->findChildren<QLabel *>().contains(nullptr) == false);
    QVERIFY(w->sampleValueEdit->isReadOnly());
    QCOMPARE(w->inverterState->title(), QStringLiteral("System State"));
    QCOMPARE(w->ioState->title(), QStringLiteral("I/O State"));

    // Series A at 1.10: ten items; every box lists them, the codes add the status item.
    QCOMPARE(w->sampleItemBox->count(), 10);
    QCOMPARE(w->sampleItemBox->itemText(0), QStringLiteral("Output frequency"));
    QCOMPARE(w->cockpit->leftItemBox->count(), 10);
    QCOMPARE(w->cockpit->leftItemBox->currentIndex(), 0);
    QCOMPARE(w->cockpit->midItemBox->currentIndex(), 1);
    QCOMPARE(w->cockpit->rightItemBox->currentIndex(), 2);
    QCOMPARE(g_monitorCodes.size(), 11);
    QCOMPARE(g_monitorCodes.last(), QStringLiteral("MCR"));
    QCOMPARE(w->cockpit->rightDial->text(), QStringLiteral("A"));
    // Choosing another item while idle relabels the dial at once.
    w->cockpit->rightItemBox->setCurrentIndex(3);
    QCOMPARE(w->cockpit->rightDial->text(), QStringLiteral("V"));
    QVERIFY(w->runButton->isEnabled() && w->optionButton->isEnabled() && w->sampleItemBox->isEnabled());
}

void tst_MonitorWindow::reopeningBuildsANewWindow()
{
    MainDialPlot *first = open('A');
    QCOMPARE(first->sampleItemBox->count(), 10);
    // Open and shown: the same window comes back, over a trend window it minimizes with the main window.
    QMetaObject::invokeMethod(m_fix.window(), "trendShow");
    QCOMPARE(openMonitorWindow(m_fix.window()), first);
    QVERIFY(m_fix.window()->trendWindow->isMinimized() && m_fix.window()->isMinimized());
    first->close();
    // Closed: a new window for the series of the moment, with its shorter list.
    QPointer<MainDialPlot> old(first);
    MainDialPlot *second = open('S', QStringLiteral("0.25"));
    QVERIFY(old.isNull());
    QCOMPARE(second->sampleItemBox->count(), 6);
    QCOMPARE(g_monitorCodes.size(), 7);
    QCOMPARE(g_dialPollFlags.size(), 7);
}

void tst_MonitorWindow::dialScalesAndTheirOptionDialog_data()
{
    QTest::addColumn<int>("dial"); // 0 left, 1 middle, 2 right
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("max");
    QTest::newRow("left_to_1") << 0 << 100 << "1" << true << 1.0;
    QTest::newRow("middle_to_60") << 1 << 450 << "60" << true << 60.0;
    QTest::newRow("right_to_65535") << 2 << 100 << "65535" << true << 65535.0;
    QTest::newRow("right_cancel") << 2 << 100 << "5" << false << 100.0;
}

void tst_MonitorWindow::dialScalesAndTheirOptionDialog()
{
    QFETCH(int, dial);
    QFETCH(int, preset);
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(double, max);
    MainDialPlot *w = open();
    Cockpit *c = w->cockpit;
    Dial *dials[] = { c->leftDial, c->midDial, c->rightDial };
    QPushButton *buttons[] = { c->leftOptionButton, c->midOptionButton, c->rightOptionButton };
    const double initial[] = { 100, 450, 100 };
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(dials[i]->lowerBound(), 0.0);
        QCOMPARE(dials[i]->upperBound(), initial[i]);
        QCOMPARE(dials[i]->scaleStepSize(), initial[i] / 10);
    }

    QString seen;
    ModalWatcher watcher([&](QWidget *modal) {
        auto *d = qobject_cast<DialOptionDialog *>(modal);
        // 200 wide unless the font's texts need more.
        const int width = d->width() >= 200 && d->minimumWidth() == d->maximumWidth() ? 200 : d->width();
        seen = QStringLiteral("%1|%2|%3x%4|%5").arg(d->objectName(), d->windowTitle()).arg(width).arg(d->height()).arg(d->maxValueSpinBox->value());
        QLineEdit *edit = d->maxValueSpinBox->findChild<QLineEdit *>();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QTest::mouseClick(ok ? d->okButton : d->cancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(buttons[dial], Qt::LeftButton);
    const char *names[] = { "LeftDial", "MidDial", "RightDial" };
    QCOMPARE(seen, QStringLiteral("%1|Option|200x110|%2").arg(QLatin1String(names[dial])).arg(preset));
    QCOMPARE(dials[dial]->upperBound(), max);
    QCOMPARE(dials[dial]->scaleStepSize(), max / 10);
    for (int i = 0; i < 3; ++i)
        if (i != dial)
            QCOMPARE(dials[i]->upperBound(), initial[i]);
}

// Labels that would run into each other are thinned at a stride that keeps both ends of the scale.
void tst_MonitorWindow::scaleLabelsNeverOverlap()
{
    const std::pair<int, QString> rows[] { { 110, "0 225 450" }, { 400, "0 45 90 135 180 225 270 315 360 405 450" } };
    for (const auto &[size, shown] : rows) {
        Dial dial;
        dial.setupScale();
        dial.setRange(450);
        dial.resize(size, size);
        dial.grab();
        const auto labels = dial.shownScaleLabels();
        QStringList texts;
        for (int i = 0; i < labels.size(); ++i) {
            texts << labels.at(i).first;
            QVERIFY(i == 0 || !labels.at(i).second.intersects(labels.at(i - 1).second));
        }
        QCOMPARE(texts.join(' '), shown);
    }
}

void tst_MonitorWindow::unitText_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("shown");
    QTest::newRow("hz") << "Hz" << QStringList { "50" } << "50Hz(r/min)";
    QTest::newRow("hz_kept_between_updates") << "Hz" << QStringList { "50", "49.5" } << "49.5Hz(r/min)";
    QTest::newRow("milliamps") << "mA" << QStringList { "4.5" } << "4.5mA";
    QTest::newRow("amps") << "A" << QStringList { "8.8", "8.75" } << "8.75A";
    QTest::newRow("volts") << "V" << QStringList { "380" } << "380V";
    QTest::newRow("percent_bare") << "%" << QStringList { "4.5" } << "4.5";
    QTest::newRow("none_bare") << " " << QStringList { "4.5" } << "4.5";
}

void tst_MonitorWindow::unitText()
{
    QFETCH(QString, unit);
    QFETCH(QStringList, values);
    QFETCH(QString, shown);
    replaceMonitorLists({ "M0R", "MCR" }, { unit });
    Dial dial;
    dial.setupScale2();
    dial.setLabel(0);
    QCOMPARE(dial.text(), unit);
    // An index outside the units leaves the text.
    dial.setLabel(1);
    dial.setLabel(-1);
    QCOMPARE(dial.text(), unit);
    for (const QString &v : values)
        dial.setUnitText(v);
    QCOMPARE(dial.text(), shown);
}

void tst_MonitorWindow::statusLamps_data()
{
    QTest::addColumn<char>("series");
    QTest::addColumn<double>("status");
    QTest::addColumn<QString>("lamps");
    QTest::newRow("running_and_alarm_0x81") << 'A' << 129.0 << "10000001";
    QTest::newRow("forward_reverse_6") << 'A' << 6.0 << "01100000";
    QTest::newRow("truncated_3.9") << 'D' << 3.9 << "11000000";
    QTest::newRow("bit8_not_shown") << 'D' << 256.0 << "00000000";
    QTest::newRow("all_eight") << 'S' << 255.0 << "11111111";
}

void tst_MonitorWindow::statusLamps()
{
    QFETCH(char, series);
    QFETCH(double, status);
    QFETCH(QString, lamps);
    g_seriesLetter = series;
    InverterState panel;
    QCOMPARE(panel.textLabels[0]->text(), QStringLiteral("Running") + QString(14, QLatin1Char(' ')));
    QCOMPARE(panel.textLabels[5]->text(), QStringLiteral("Pr. restor"));
    QCOMPARE(panel.textLabels[7]->text(), QStringLiteral("Alarm occurrence"));
    QCOMPARE(lampText(panel.lampLabels), QStringLiteral("00000000"));
    // Stored but not shown before the panel runs.
    panel.setStatus(status);
    QTest::qWait(60);
    QCOMPARE(lampText(panel.lampLabels), QStringLiteral("00000000"));
    panel.startMonitor();
    QTRY_COMPARE(lampText(panel.lampLabels), lamps);
    panel.stopMonitor();
    QCOMPARE(lampText(panel.lampLabels), QStringLiteral("00000000"));
    g_seriesLetter = 'H';
    InverterState h;
    QCOMPARE(h.textLabels[5]->text(), QStringLiteral("key tone"));
}

void tst_MonitorWindow::ioLamps_data()
{
    QTest::addColumn<char>("series");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("output");
    QTest::addColumn<QString>("lamps");
    QTest::addColumn<QString>("stopped");
    QTest::addColumn<QString>("labels");
    // Active high: inputs 5 light STF and M0, output 1 lights SO1-SE; the lamps name the terminals as the wizard does.
    QTest::newRow("active_high") << 'A' << "0.55" << 5 << 1 << "10100000001000" << "00000000000000"
        << "STF STR M0 M1 M2 RES M3 M4 M5 HDI SO1-SE A1-B1-C1 SO2-SE A2-B2-C2";
    // Active low: a clear bit lights.
    QTest::newRow("active_low") << 'D' << "0.52" << 0xFFFE << 0x000A << "10000000001010" << "00000000000000"
        << "STF STR M0 M1 M2 RES M3 M4 M5 HDI SO ABC A1 A2";
    QTest::newRow("six_inputs_two_outputs") << 'S' << "0.25" << 0x24 << 2 << "001001----01--" << "000000----00--"
        << "STF STR M0 M1 M2 RES     SO-SE A-B-C  ";
    QTest::newRow("no_line_for_the_version") << 'S' << "0.15" << 0 << 0 << "--------------"
                                             << "--------------" << QString(13, ' ');
}

void tst_MonitorWindow::ioLamps()
{
    QFETCH(char, series);
    QFETCH(QString, firmware);
    QFETCH(int, input);
    QFETCH(int, output);
    QFETCH(QString, lamps);
    QFETCH(QString, stopped);
    QFETCH(QString, labels);
    g_seriesLetter = series;
    g_firmwareVersion = firmware;
    IOState panel;
    QStringList shown;
    for (QLabel *label : panel.textLabels)
        shown << label->text();
    QCOMPARE(shown.join(' '), labels);
    panel.setIOValue(input, output);
    panel.startMonitor();
    QTRY_COMPARE(lampText(panel.lampLabels), lamps);
    panel.stopMonitor();
    QCOMPARE(lampText(panel.lampLabels), stopped);
}

void tst_MonitorWindow::plotOptionDialog_data()
{
    QTest::addColumn<double>("xBefore");
    QTest::addColumn<QString>("presets");
    QTest::addColumn<QString>("typedX");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("xAfter");
    QTest::addColumn<double>("yAfter");
    QTest::newRow("as_built") << 0.0 << "60 70" << "" << false << 60.0 << 70.0;
    QTest::newRow("fraction_cut") << 45.9 << "45 70" << "" << true << 45.0 << 70.0;
    QTest::newRow("1500_shows_1000") << 1500.0 << "1000 70" << "" << true << 1000.0 << 70.0;
    QTest::newRow("typed_page") << 0.0 << "60 70" << "20" << true << 20.0 << 70.0;
    QTest::newRow("cancel_keeps") << 0.0 << "60 70" << "20" << false << 60.0 << 70.0;
}

void tst_MonitorWindow::plotOptionDialog()
{
    QFETCH(double, xBefore);
    QFETCH(QString, presets);
    QFETCH(QString, typedX);
    QFETCH(bool, ok);
    QFETCH(double, xAfter);
    QFETCH(double, yAfter);
    MainDialPlot *w = open();
    if (xBefore > 0)
        w->setPlotValue(xBefore, 70.0);
    QString seen;
    ModalWatcher watcher([&](QWidget *modal) {
        auto *d = qobject_cast<OptionDialog *>(modal);
        // 260 wide unless the font's texts need more.
        const int width = d->width() >= 260 && d->minimumWidth() == d->maximumWidth() ? 260 : d->width();
        seen = QStringLiteral("%1|%2|%3x%4|%5 %6").arg(d->objectName(), d->windowTitle()).arg(width).arg(d->height())
                   .arg(d->xAxisSpinBox->value()).arg(d->yAxisSpinBox->value());
        if (!typedX.isEmpty()) {
            QLineEdit *edit = d->xAxisSpinBox->findChild<QLineEdit *>();
            edit->selectAll();
            QTest::keyClicks(edit, typedX);
        }
        QTest::mouseClick(ok ? d->okButton : d->cancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(w->optionButton, Qt::LeftButton);
    QCOMPARE(seen, QStringLiteral("Plot|Option|260x200|") + presets);
    QCOMPARE(w->plot->xInterval().maxValue(), xAfter);
    QCOMPARE(w->plot->yInterval().maxValue(), yAfter);
}

void tst_MonitorWindow::driveInformation_data()
{
    QTest::addColumn<char>("series");
    QTest::addColumn<QStringList>("info");
    QTest::addColumn<QStringList>("shown"); // type, version, current, voltage, power
    QTest::newRow("derived") << 'D' << QStringList { "VM3-023-7.5K", "1.02", "8.8A", "220V", "1" }
                             << QStringList { "VM3", "1.02", "8.8A", "220V", "7.5K" };
    QTest::newRow("g_p186_10_tests_0_first") << 'G' << QStringList { "VG-043-5.5K/7.5K", "1", "1A", "440V", "10" }
                                              << QStringList { "VP", "1", "1A", "440V", "5.5KW" };
    QTest::newRow("g_p186_1") << 'G' << QStringList { "VG-043-5.5K/7.5K", "1", "1A", "440V", "1" }
                              << QStringList { "VP-G", "1", "1A", "440V", "7.5KW" };
    QTest::newRow("g_p186_2_keeps") << 'G' << QStringList { "VG-043-5.5K", "1", "1A", "440V", "2" }
                                    << QStringList { "...", "1", "1A", "440V", "..." };
    QTest::newRow("g_four_entries_keeps") << 'G' << QStringList { "VG-043-5.5K", "1", "1A", "440V" }
                                          << QStringList { "...", "1", "1A", "440V", "..." };
    QTest::newRow("l_adds_w") << 'L' << QStringList { "VL-043-2.2K", "1", "1A", "440V" }
                              << QStringList { "VP-GT", "1", "1A", "440V", "2.2KW" };
    QTest::newRow("m_no_w") << 'M' << QStringList { "VM-043-2.2K", "1", "1A", "440V" }
                            << QStringList { "VR3-L", "1", "1A", "440V", "2.2K" };
    QTest::newRow("type_without_parts") << 'A' << QStringList { "", "---", "---", "---" }
                                        << QStringList { "---", "---", "---", "---", "---" };
}

void tst_MonitorWindow::driveInformation()
{
    QFETCH(char, series);
    QFETCH(QStringList, info);
    QFETCH(QStringList, shown);
    MainDialPlot *w = open();
    g_seriesLetter = series;
    w->setDriveInfo(info.toVector());
    QCOMPARE(QStringList({ w->driveTypeValue->text(), w->versionValue->text(), w->outputCurrentValue->text(),
                           w->inputVoltageValue->text(), w->capacityValue->text() }),
             shown);
}

// A loss met once Exit was asked is no news to one who left: no box, and the program ends at once.
void tst_MonitorWindow::exitDuringAFailingPass()
{
    QVERIFY(m_fix.startLine(0));
    setStation(1);
    m_fix.nav()->PotLabel->setText(QStringLiteral("Select station: NO.001 ") + (g_invType = QStringLiteral("VR3-043-5.5K")));
    m_fix.nav()->stationTested[1] = 1, g_versionRead = true;
    QObject::connect(m_fix.window(), &CMainWindow::showErrorInfo, m_fix.window(), &CMainWindow::ErrWarning); // the real box
    ModalWatcher watcher([](QWidget *box) { QTimer::singleShot(300, box, [box] { box->close(); }); });
    QTest::mouseClick(open()->runButton, Qt::LeftButton);
    QTest::qWait(300);
    const int before = m_fix.received().size();
    m_fix.control(QStringLiteral("fault link-lost"));
    QTRY_VERIFY(m_fix.received().size() > before + 2); // a request's second try has gone out
    QElapsedTimer sinceExit;
    QTimer::singleShot(0, m_fix.window(), [&] { sinceExit.start(); QTest::mouseClick(m_fix.window()->exitButton, Qt::LeftButton); });
    QTimer::singleShot(5000, qApp, &QCoreApplication::quit);
    qApp->exec();
    const qint64 ended = sinceExit.elapsed();
    QTest::qWait(100);
    QVERIFY2(ended < 1400 && watcher.count() == 0, qPrintable(QString::number(ended)));
}

QTEST_MAIN(tst_MonitorWindow)
#include "tst_monitorwindow.moc"
