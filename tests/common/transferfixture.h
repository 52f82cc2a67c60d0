#pragma once

// The parameter form against the simulated drive: the program's folder with the shipped data, the
// main window with its navigation dock and form, the real serial port on the drive's
// pseudo-terminal, a protocol object, and a driver that answers message boxes as a user would.
// The drive's journal is the witness of what went over the line.

#include "comm/globals.h"
#include "connection/identify.h"
#include "comm/typeinfo.h"
#include "comm/win_qextserialport.h"
#include "parameter/parameter.h"
#include "parameter/paramtext.h"
#include "dockmode.h"
#include "programfolder.h"
#include "pseudoterminal.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/operationlog.h"
#include "simdrive.h"
#include "testdirs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

// Answers every message box that opens: records its title and text, then presses the next planned
// button (by its text, "Escape" for the key) or, with no plan left, the box's default answer.
class BoxDriver : public QObject {
public:
    BoxDriver()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    void plan(const QStringList &answers) { m_plan = answers; }
    void clear()
    {
        settle();
        m_plan.clear();
        m_texts.clear();
        m_titles.clear();
    }
    // Presses the progress dialog's Cancel once `afterSteps` steps have shown.
    void cancelProgressAt(int afterSteps) { m_cancelAt = afterSteps; }

    // The boxes answered so far. A failure the link reports opens its box once the exchange is over:
    // one still to open is taken in first.
    QStringList texts()
    {
        settle();
        return m_texts;
    }
    QStringList titles()
    {
        settle();
        return m_titles;
    }

private:
    static void settle() { QCoreApplication::processEvents(); }
    QStringList m_texts;
    QStringList m_titles;

    void poll()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *progress = qobject_cast<QProgressDialog *>(w)) {
                if (m_cancelAt >= 0 && progress->isVisible() && progress->value() >= m_cancelAt) {
                    m_cancelAt = -1;
                    for (QPushButton *b : progress->findChildren<QPushButton *>())
                        QTest::mouseClick(b, Qt::LeftButton);
                }
                continue;
            }
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box || !box->isVisible() || m_answered.contains(box))
                continue;
            m_answered.append(box);
            m_texts << box->text();
            m_titles << box->windowTitle();
            const QString answer = m_plan.isEmpty() ? QString() : m_plan.takeFirst();
            QTimer::singleShot(0, box, [box, answer] {
                if (answer == QLatin1String("Escape")) {
                    QTest::keyClick(box, Qt::Key_Escape);
                    return;
                }
                for (QAbstractButton *b : box->buttons()) {
                    if (answer.isEmpty() ? box->buttonRole(b) == QMessageBox::AcceptRole
                                         : QString(b->text()).remove(QLatin1Char('&')) == answer) {
                        QTest::mouseClick(b, Qt::LeftButton);
                        return;
                    }
                }
                box->close();
            });
            return;
        }
        // Boxes that closed can be freed and their addresses reused.
        m_answered.erase(std::remove_if(m_answered.begin(), m_answered.end(),
                                        [](const QPointer<QMessageBox> &b) { return b.isNull() || !b->isVisible(); }),
                         m_answered.end());
    }

    QTimer m_timer;
    QStringList m_plan;
    QList<QPointer<QMessageBox>> m_answered;
    int m_cancelAt = -1;
};

// One request the drive received, decoded.
struct WireRequest {
    double at = 0;      // seconds, monotonic
    QString kind;       // "read", "write", "page", "command", "other"
    int parameter = -1; // read and write
    int value = -1;     // write: the raw value; page: the page
    QByteArray bytes;
};

namespace seriess {

// Series S parameters the drive knows; every other number is refused. Raw value, admitted range,
// decimals of the character protocol's reply.
inline const QStringList kParameters {
    QStringLiteral("P 1 12000 0..12000 2"),       // 0.01 Hz, equals its default
    QStringLiteral("P 3 65535 0..65535 2"),       // no special value: FFFFh is 655.35
    QStringLiteral("P 7 500 0..36000 2"),         // governed by P.21
    QStringLiteral("P 8 1500 0..36000 2"),        // differs from its default
    QStringLiteral("P 19 65535 0..10000,65535 1"), // special value
    QStringLiteral("P 21 0 0..1 0"),
    QStringLiteral("P 77 0 0..2,9999 0"),
    QStringLiteral("P 79 0 0..8 0"),
    QStringLiteral("P 90 40 0..9999 0 ro"),
    QStringLiteral("P 117 65486 -1000..1000 1"),  // signed: -5.0
    QStringLiteral("P 120 1 0..254 0"),
    QStringLiteral("P 121 1 0..5 0"),
    QStringLiteral("P 171 12 0..65535 0 ro"),
    QStringLiteral("P 186 1 0..1 0"),
    // Read while loading: 0.15 lowers the firmware below the wide no-value word of 0.20.
    QStringLiteral("P 188 15 0..65535 2 ro"),
    QStringLiteral("P 189 0 0..1 0"),
    QStringLiteral("P 190 0 0..65535 0"),
    QStringLiteral("series S"),
    QStringLiteral("typecode 40"),
    QStringLiteral("restart-ms 300"),
};

// A refused read costs the port's whole receive window: the drive knows every number the batches
// visit, with plain values where the tests look at nothing, and refuses two on purpose.
inline QStringList scenario(const QStringList &extra = {})
{
    QStringList lines;
    for (int n = 0; n < 125; ++n)
        lines << QStringLiteral("P %1 0 0..65535 0").arg(n);
    return lines + kParameters + QStringList { "refuse param 2 read", "refuse param 5 read" } + extra;
}

inline QStringList protocolNames() { return { "taviron", "modbus_rtu", "modbus_ascii" }; }

inline bool isBoldRed(CParameter *form, int row)
{
    QTableWidgetItem *item = form->PartableWidget->item(row, 3);
    return item && item->font().bold() && item->foreground().color() == Qt::red;
}

} // namespace seriess

class TransferFixture {
public:
    struct Line {
        int protocol; // 0 character protocol, 1 RTU, 2 ASCII
        const char *name;
        DataBitsType data;
        const char *dataText;
    };

    static Line line(int protocol)
    {
        switch (protocol) {
        case 1: return { 1, "rtu", DATA_8, "8" };
        case 2: return { 2, "ascii", DATA_7, "7" };
        default: return { 0, "taviron", DATA_8, "8" };
        }
    }

    bool setUpProgram()
    {
        if (!m_appDir.isValid() || !m_drive.isValid())
            return false;
        g_appDir = m_appDir.path() + QLatin1Char('/');
        for (const char *folder : { "ParameterInforamtion", "InvParameter", "hideparameter" }) {
            if (!QFile::link(binDir() + QLatin1Char('/') + QLatin1String(folder), g_appDir + QLatin1String(folder)))
                return false;
        }
        g_typeInfoTable.clear();
        if (!startOperationLogAndTypes())
            return false;
        m_window.reset(new CMainWindow());
        g_mainWindow = m_window.get();
        delete g_serialPort; // the window's own port found no line
        g_serialPort = nullptr;
        form()->show();
        return true;
    }

    void tearDown()
    {
        stopDrive();
        g_mainWindow = nullptr;
        m_window.reset();
    }

    CParameter *form() const { return m_window->parameterForm; }
    CMainWindow *window() const { return m_window.get(); }

    // Starts the drive with the given scenario lines and connects the program to it.
    bool connectDrive(int protocol, const QStringList &scenario, int baud = 115200, bool settingsLast = false)
    {
        stopDrive();
        const Line l = line(protocol);
        QStringList lines { QStringLiteral("protocol %1").arg(QLatin1String(l.name)), QStringLiteral("baud %1").arg(baud),
                            QStringLiteral("data %1").arg(QLatin1String(l.dataText)), QStringLiteral("parity N"),
                            QStringLiteral("stop 1"), QStringLiteral("terminator cr"), QStringLiteral("station 1") };
        lines << scenario;
        if (settingsLast) // the fixture's line settings follow the scenario's, and win
            lines << lines.mid(0, 7);
        if (!m_drive.start(lines.join(QLatin1Char('\n')) + QLatin1Char('\n')))
            return false;
        const BaudRateType rate = baud == 9600 ? BAUD9600 : baud == 19200 ? BAUD19200 : BAUD115200;
        if (!m_drive.connect(protocol, rate, l.data, PAR_NONE, STOP_1))
            return false;
        g_protocolIndex = protocol;
        g_crLfMode = 1;
        g_crLfIndex = 1;
        setStation(1);
        g_responseDelayMs = 0;
        return true;
    }

    void stopDrive()
    {
        m_drive.stop();
        g_readWrite = nullptr;
        g_serialPort = nullptr;
    }

    // The link state every test starts from: station 1 tested and shown, CU mode, link up.
    void resetState()
    {
        resetLinkFlags();
        g_modeRestartWait = false;
        g_cuModeResult = 0;
        g_driveLookupEnabled = true;
        g_sortFlag = 0;
        CNavigation *navigation = m_window->navigation;
        navigation->PotLabel->setText(QStringLiteral("Select station: NO.001 VS5-043-5.5K/7.5K"));
        navigation->stationTested[1] = 1;
        navigation->statusWord = 0;
        setDockMode(navigation, 0);
        m_window->setConnectionState(true);
        form()->readBackAfterWrite = false;
        form()->writeAllFromButton = false;
        QFile log(g_appDir + QStringLiteral("Operation_log.txt"));
        log.open(QIODevice::WriteOnly | QIODevice::Truncate);
        boxes.clear();
    }

    // Series S as the identification leaves it, with the table loaded from the drive.
    void loadSeriesS()
    {
        g_seriesLetter = 'S';
        g_modelName = QStringLiteral("VS5");
        g_firmwareVersion = QStringLiteral("0.25");
        g_parameterCount = 200;
        g_groupMode = 0;
        g_invType = QStringLiteral("VS5-043-5.5K/7.5K");
        g_modelCode = QStringLiteral("0");
        g_language = 0;
        form()->loadParameterTable();
        form()->loadHideParameters();
    }

    // A shipped scenario of tools/drivesim/scenarios ("D-rtu.drive") on the fixture's line, then as the connection
    // test: identification, type list, table in the language. The type found, or null when the drive did not start.
    QString connectShipped(const QString &name, int language, const QStringList &extra = {})
    {
        const int protocol = name.contains(QLatin1String("rtu")) ? 1 : name.contains(QLatin1String("ascii")) ? 2 : 0;
        if (!connectDrive(protocol, QStringList { "include " + sourceDir() + "/tools/drivesim/scenarios/" + name } + extra,
                          115200, true))
            return QString();
        g_connectionTest = true;
        g_invType = identifyDrive(driveReadsOf(g_readWrite));
        g_connectionTest = false;
        g_language = static_cast<unsigned char>(language);
        m_window->navigation->loadInverterTypes();
        form()->loadParameterTable();
        form()->showAll();
        return g_invType;
    }

    void control(const QString &line) { m_drive.control(line); }
    SimulatedDrive &drive() { return m_drive; }
    QString controlPath() const { return m_drive.controlPath(); }
    QString journalPath() const { return m_drive.journalPath(); }

    // Raw journal lines ("RX"/"TX" with time stamps).
    QStringList journal() const { return m_drive.journal(); }

    // The requests the drive received, decoded by the protocol, from request number `from` on.
    QList<WireRequest> requests(int protocol, int from = 0) const
    {
        QList<WireRequest> out;
        int page = -1;
        for (const JournalFrame &frame : m_drive.received()) {
            WireRequest r;
            r.at = frame.at;
            r.bytes = frame.bytes;
            decode(protocol, &r, &page);
            out << r;
        }
        return out.mid(from);
    }

    static QList<WireRequest> only(const QList<WireRequest> &all, const QString &kind)
    {
        QList<WireRequest> out;
        for (const WireRequest &r : all) {
            if (r.kind == kind)
                out << r;
        }
        return out;
    }

    // Row of parameter n in the table as it stands.
    int rowOf(int n) const
    {
        for (int r = 0; r < form()->PartableWidget->rowCount(); ++r) {
            const QString label = form()->cellText(r, 1);
            if (label.contains(QLatin1String("P.")) && ParamText::labelNumber(label) == n)
                return r;
        }
        return -1;
    }

    // ---- The series S drive of the form's transfer tests ----

    // Connects to a series S drive that knows P.0 to P.124 and the `seriess::kParameters`.
    void start(int protocol, const QStringList &extra = {}, int baud = 115200)
    {
        QVERIFY(connectDrive(protocol, seriess::scenario(extra), baud));
        loadSeriesS();
        // Every exchange costs the port's receive window, refused or not: the batches here stop at
        // P.124, which keeps two pages of the character protocol and the first deferred parameters.
        g_parameterCount = 125;
        QVERIFY2(boxes.texts().isEmpty(), qPrintable(boxes.texts().join('|')));
    }

    static void protocolRows()
    {
        QTest::addColumn<int>("protocol");
        for (int p = 0; p < 3; ++p)
            QTest::newRow(qPrintable(seriess::protocolNames().at(p))) << p;
    }

    // Stops the drive, first showing what it saw when the test failed.
    void stopDriveAfter()
    {
        if (QTest::currentTestFailed()) {
            const QStringList lines = journal();
            qWarning().noquote() << "drive journal (last lines):\n" << lines.mid(qMax(0, lines.size() - 40)).join('\n');
            qWarning() << "boxes:" << boxes.texts();
        }
        stopDrive();
    }

    void clickRow(int parameter, int column = 10)
    {
        QTableWidget *table = form()->PartableWidget;
        const int row = rowOf(parameter);
        QVERIFY(row >= 0);
        table->showRow(row);
        table->scrollToItem(table->item(row, column));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(row, column)).center());
        QCOMPARE(table->currentRow(), row);
    }

    QString current(int parameter) const { return form()->cellText(rowOf(parameter), 9); }

    void setSetting(int parameter, const QString &text)
    {
        const int row = rowOf(parameter);
        QVERIFY(row >= 0);
        form()->PartableWidget->item(row, 10)->setText(text);
    }

    static QStringList logLines()
    {
        QFile log(operationLogPath());
        log.open(QIODevice::ReadOnly);
        return QString::fromLatin1(log.readAll()).split(QStringLiteral("\r\n"));
    }

    BoxDriver boxes;

private:
    static void decode(int protocol, WireRequest *r, int *page)
    {
        r->kind = QStringLiteral("other");
        QByteArray pdu;
        if (protocol == 1) {
            pdu = r->bytes.left(r->bytes.size() - 2);
        } else if (protocol == 2) {
            pdu = QByteArray::fromHex(r->bytes.mid(1, r->bytes.size() - 5));
        } else {
            const QByteArray text = r->bytes.mid(1);
            const int instruction = text.mid(2, 2).toInt(nullptr, 16);
            const QByteArray payload = text.mid(5, 4);
            const QByteArray code = text.mid(2, 2);
            bool hex = false;
            code.toInt(&hex, 16);
            if (code == "FF") {
                r->kind = QStringLiteral("page");
                r->value = payload.toInt(nullptr, 16);
                *page = r->value;
            } else if (hex && instruction <= 0x63 && text.size() <= 9) {
                r->kind = QStringLiteral("read");
                r->parameter = *page * 100 + instruction;
            } else if (hex && instruction >= 0x80 && instruction <= 0xE3 && text.size() == 12) {
                r->kind = QStringLiteral("write");
                r->parameter = *page * 100 + instruction - 0x80;
                r->value = payload.toInt(nullptr, 16);
            } else {
                r->kind = QStringLiteral("command");
            }
            return;
        }
        if (pdu.size() < 6)
            return;
        const int address = quint8(pdu.at(2)) << 8 | quint8(pdu.at(3));
        const int word = quint8(pdu.at(4)) << 8 | quint8(pdu.at(5));
        if (address >= 0x1000) {
            r->kind = QStringLiteral("command");
            r->parameter = address;
            r->value = word;
        } else if (pdu.at(1) == 0x03) {
            r->kind = QStringLiteral("read");
            r->parameter = address;
        } else if (pdu.at(1) == 0x06) {
            r->kind = QStringLiteral("write");
            r->parameter = address;
            r->value = word;
        }
    }

    QTemporaryDir m_appDir;
    TemporaryRegistry m_registry;
    SimulatedDrive m_drive;
    std::unique_ptr<CMainWindow> m_window;
};
