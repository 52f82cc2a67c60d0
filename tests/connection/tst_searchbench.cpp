// How long the full search takes against a line where nothing answers: 187 steps (0 to 186) paced
// by the 100 ms timer. Slow; runs only with TAVIRON_BENCH=1.

#include "searchfixture.h"
#include "shell/startup.h"

#include <QElapsedTimer>

class TestSearchBench : public QObject {
    Q_OBJECT
private slots:
    void fullSearchOnASilentLine();
};

void TestSearchBench::fullSearchOnASilentLine()
{
    if (qEnvironmentVariable("TAVIRON_BENCH") != QLatin1String("1"))
        QSKIP("set TAVIRON_BENCH=1 to time the full search");

    QTemporaryDir appDir;
    QTemporaryDir work;
    QVERIFY(makeAppDir(appDir));
    initShellResources();
    TemporaryRegistry registry;
    SimulatedDrive drive(QStringLiteral("COM7"));
    QVERIFY(drive.startSeries("protocol rtu\nbaud 9600\ndata 8\nparity N\nstop 1\nterminator none\n"
                                     "station 1\nfault link-lost"));
    CMainWindow window;
    g_mainWindow = &window;
    g_portName = QStringLiteral("Com7");
    CComSetup *setup = window.comSetup;

    QElapsedTimer clock;
    qint64 elapsedMs = -1;
    bool started = false;
    bool failed = false;
    ModalWatcher watcher([&](QWidget *modal) {
        if (modal == setup) {
            if (!started) {
                started = true;
                clock.start();
                QTest::mouseClick(setup->AutoButton, Qt::LeftButton);
            } else if (failed) {
                setup->close();
            }
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            elapsedMs = clock.elapsed();
            failed = true;
            box->button(QMessageBox::Ok)->click();
        }
    });
    window.findChild<QAction *>(QStringLiteral("actCom"))->trigger();
    g_mainWindow = nullptr;

    const QList<JournalFrame> probes = drive.frames();
    QCOMPARE(probes.size(), 187);
    qInfo("full search of 187 steps: %.2f s (186 ticks of 100 ms: 18.60 s)", elapsedMs / 1000.0);
    QVERIFY(elapsedMs >= 18600);
}

QTEST_MAIN(TestSearchBench)
#include "tst_searchbench.moc"
