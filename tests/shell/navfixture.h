#pragma once

// What the dock's tests share: a program folder with the shipped data, the main window with its
// dock, a user's hand on the station dialog and the message boxes, and the simulated drive on a
// pseudo-terminal with its journal.

#include "../comm/linkfixture.h"
#include "connection/settype.h"
#include "modalwatcher.h"
#include "simdrive.h"
#include "parameter/parameter.h"
#include "shell/modethread.h"
#include "shell/navigation.h"

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTreeView>

#include <time.h>

// A message box as the user saw it.
struct Box {
    QString title;
    QString text;
};

using Frame = JournalFrame;

class NavFixture {
public:
    ~NavFixture() { tearDown(); }

    // Program folder with the shipped data plus further drive types (type text and its ratings
    // for InvType.mgr, lines for InvType.txt), and the main window.
    bool setUp(const QList<QPair<QString, QString>> &extraMgr = {}, const QStringList &extraTypes = {})
    {
        m_appDir.reset(new QTemporaryDir());
        if (!m_appDir->isValid())
            return false;
        g_appDir = m_appDir->path() + QLatin1Char('/');
        QDirIterator it(binDir(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString relative = QDir(binDir()).relativeFilePath(from);
            if (!relative.contains(QLatin1Char('/')) || relative.startsWith(QLatin1String("help/")))
                continue;
            QDir().mkpath(QFileInfo(g_appDir + relative).path());
            if (!QFile::copy(from, g_appDir + relative))
                return false;
        }
        const QString invType = g_appDir + QStringLiteral("ParameterInforamtion/InvType/");
        if (!addMgrTypes(invType + QStringLiteral("InvType.mgr"), extraMgr)
            || !appendLines(invType + QStringLiteral("InvType.txt"), extraTypes))
            return false;
        if (!startOperationLogAndTypes())
            return false;
        resetGlobals();
        m_window.reset(new CMainWindow());
        g_mainWindow = m_window.get();
        m_errors = watchReports(m_window.get());
        m_window->resize(1000, 760);
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window.get());
    }

    void tearDown()
    {
        if (m_window)
            nav()->stopModePolling();
        m_drive.stop();
        g_readWrite = nullptr;
        g_serialPort = nullptr;
        m_errors.reset();
        m_window.reset();
        g_mainWindow = nullptr;
    }

    // The window goes as the program's end takes it, whatever the dock is doing.
    void destroyWindow()
    {
        m_errors.reset();
        m_window.reset();
        g_mainWindow = nullptr;
    }

    static void resetGlobals()
    {
        setStation(0);
        g_seriesLetter = '0';
        g_invType.clear();
        g_firmwareVersion.clear();
        g_stationText.clear();
        resetLinkFlags();
        g_modeRestartWait = false;
        g_cuModeResult = -1;
        g_versionRead = false;
        g_responseDelayMs = 0;
        resetCommandFailureCounters();
    }

    CMainWindow *window() { return m_window.get(); }
    CNavigation *nav() { return m_window->navigation; }

    // ---- The user's side ----

    // Answers every box and dialog that opens with the handler; boxes are recorded and closed.
    void watch(std::function<void(QWidget *)> dialogHandler = nullptr)
    {
        m_boxes.clear();
        m_watcher.reset(new ModalWatcher([this, dialogHandler](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                m_boxes.append({ box->windowTitle(), box->text() });
                QTest::mouseClick(box->buttons().value(0), Qt::LeftButton);
            } else if (dialogHandler) {
                dialogHandler(modal);
            } else {
                qobject_cast<QDialog *>(modal)->reject();
            }
        }));
    }
    // Nothing answers the modal windows any more.
    void unwatch() { m_watcher.reset(); }
    QList<Box> boxes()
    {
        QCoreApplication::processEvents();
        return m_boxes;
    }
    QStringList boxTexts()
    {
        QStringList out;
        for (const Box &b : boxes())
            out << b.text;
        return out;
    }

    // Fills the station dialog as a user does and presses OK, or Cancel when accept is false.
    static void fillStationDialog(QWidget *modal, int number, const QString &type, const QString &power, bool accept = true)
    {
        auto *dialog = qobject_cast<CSetType *>(modal);
        if (!dialog)
            return;
        if (number >= 0) {
            // The dialog's own range is 0 to 255; the dock is the one to refuse 255.
            dialog->StationSpinBox->setMaximum(255);
            QLineEdit *edit = dialog->StationSpinBox->findChild<QLineEdit *>();
            edit->selectAll();
            QTest::keyClicks(edit, QString::number(number));
        }
        if (!type.isEmpty())
            chooseByKeys(dialog->InvTypecomboBox, type);
        if (!power.isEmpty())
            chooseByKeys(dialog->InvVolcomboBox, power);
        QTest::mouseClick(accept ? dialog->SetTypeOK : dialog->SetTypeCancelPB, Qt::LeftButton);
    }

    // Walks the combo with the arrow keys to the item of that text.
    static void chooseByKeys(QComboBox *combo, const QString &text)
    {
        const int wanted = combo->findText(text, Qt::MatchExactly);
        if (wanted < 0)
            return;
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        while (combo->currentIndex() < wanted)
            QTest::keyClick(combo, Qt::Key_Down);
    }

    // Adds a station through the Add button and the dialog.
    void addStation(int number, const QString &type, const QString &power)
    {
        watch([=](QWidget *modal) { fillStationDialog(modal, number, type, power); });
        QTest::mouseClick(nav()->add_station, Qt::LeftButton);
        m_watcher.reset();
    }

    QModelIndex stationIndex(int row) { return nav()->treeRoot->child(row)->index(); }

    void clickItem(const QModelIndex &index, bool twice = false)
    {
        QTreeView *view = nav()->SysSettreeView;
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
        if (twice) // as the desktop sends a double click: the click, then the double-click event
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
    }

    // One click and the wait for the click window to close.
    void selectStation(int row)
    {
        clickItem(stationIndex(row));
        QTest::qWait(450);
        // A slow machine may not have reached the end of the double-click window yet.
        QTRY_COMPARE_WITH_TIMEOUT(int(nav()->clickCount), 0, 5000);
    }

    QStringList stationTexts()
    {
        QStringList out;
        for (int row = 0; row < nav()->treeRoot->rowCount(); ++row)
            out << nav()->treeRoot->child(row)->text();
        return out;
    }

    QList<int> reportedErrors() { return ::reportedErrors(*m_errors); }

    QStringList logLines() const { return operationLogLines(); }

    // ---- The drive's side ----

    // The station dialog's type and power texts of each shipped line's series.
    struct Line : ShippedLine {
        const char *type;
        const char *power;
    };

    static const Line &line(int index)
    {
        static const Line lines[] = {
            { shippedLine(0), "VR3-043", "5.5K" },
            { shippedLine(1), "VS5-043", "0.75K" },
            { shippedLine(2), "VM3-023", "7.5K" },
        };
        return lines[index];
    }

    static void protocolRows() { shippedLineRows(); }

    // Starts the drive of the line, opens the port and makes the protocol object.
    bool startLine(int index, const QString &extra = QString())
    {
        if (!m_drive.startLine(index, extra))
            return false;
        g_protocolIndex = line(index).protocol;
        return true;
    }

    // Station 1 of the line's series entered and marked as having passed the connection test.
    void addTestedStation(int index)
    {
        addStation(1, QLatin1String(line(index).type), QLatin1String(line(index).power));
        nav()->stationTested[1] = 1;
        g_offLine = false;
        nav()->modeState.passedTest(1);
        const Line &l = line(index); // every shipped line runs at 115200 baud
        nav()->modeState.linePassed(1, { l.protocol, 5, l.data == DATA_7 ? 0 : 1, l.parity == PAR_NONE ? 0 : l.parity == PAR_ODD ? 1 : 2,
                                         l.stop == STOP_1 ? 0 : 1, l.crLfMode, QStringLiteral("0") });
    }

    // What a connection test that finds station 1 does to the dock: the set-up dialog's success.
    void passConnectionTest()
    {
        nav()->stopModePolling();
        g_connectionTest = true;
        nav()->stationTested[1] = 1, g_offLine = false, m_window->setConnectionState(true);
        nav()->connectionTestPassed();
        g_connectionTest = false;
    }

    void control(const QString &command) { m_drive.control(command); }

    QList<Frame> received() const { return m_drive.received(); }
    // Both directions: the drive's replies too.
    QList<Frame> frames() const { return m_drive.frames(); }
    // The frames the drive took after the journal's last line holding `note` (a control line, say).
    QList<Frame> receivedAfter(const QString &note) const { return m_drive.receivedAfter(note); }

    // The frames with each retry folded into its first try: a loaded machine can miss a reply
    // window, and the protocol object then sends the same frame again.
    QList<Frame> requests() const
    {
        // The tries of one exchange follow each other closely, however many there are.
        QList<Frame> out;
        double previous = 0;
        for (const Frame &f : received()) {
            if (out.isEmpty() || out.last().bytes != f.bytes || f.at - previous > 0.3)
                out << f;
            previous = f.at;
        }
        return out;
    }

    QString journal() const
    {
        QFile f(m_drive.journalPath());
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll());
    }

    // The request of a command code as the protocol of the line frames it for station 1.
    static QByteArray commandFrame(int protocol, const QByteArray &code, quint16 data = 0)
    {
        struct Code {
            const char *code;
            const char *zr; // instruction, or instruction and data
            int reg;
            int function;
            int value;
        };
        static const Code codes[] = {
            { "CU0", "FB", 0x1000, 6, 0 }, { "EXT", "FB", 0x1000, 6, 1 }, { "JOG", "FB", 0x1000, 6, 2 },
            { "FWD", "FA", 0x1001, 6, 2 }, { "REV", "FA", 0x1001, 6, 4 }, { "STO", "FA", 0x1001, 6, 0 },
            { "FRE", "ED", 0x1002, 6, -1 }, { "MOD", "7B", 0x1000, 3, 1 }, { "STA", "7A", 0x1001, 3, 1 },
            { "997", "FC", 0x1300, 6, 0x997 },
        };
        for (const Code &c : codes) {
            if (code != c.code)
                continue;
            const int value = c.value < 0 ? data : c.value;
            const QByteArray v4 = QByteArray::number(value, 16).toUpper().rightJustified(4, '0');
            if (protocol == 0)
                return drive::zrRequest("01" + QByteArray(c.zr) + "0" + (c.function == 6 ? v4 : QByteArray()));
            const QByteArray body = "01" + QByteArray::number(c.function, 16).rightJustified(2, '0')
                + QByteArray::number(c.reg, 16).toUpper() + v4;
            if (protocol == 1)
                return drive::crc(QByteArray::fromHex(body));
            return drive::lrc(body);
        }
        return QByteArray();
    }

    // Whether the frame is one of the dock's commands (mode, run, stop, frequency) rather than a
    // poll or a parameter read.
    static bool isCommand(int protocol, const QByteArray &frame)
    {
        if (protocol == 0)
            return frame.size() > 5 && (frame.mid(3, 2) == "FB" || frame.mid(3, 2) == "FA" || frame.mid(3, 2) == "ED");
        const QByteArray head = protocol == 1 ? frame.left(4).toHex().toUpper() : frame.mid(1, 8);
        return head == "01061000" || head == "01061001" || head == "01061002";
    }

    static bool isPoll(int protocol, const QByteArray &frame, const QByteArray &code)
    {
        return frame == commandFrame(protocol, code);
    }

private:
    static bool addMgrTypes(const QString &path, const QList<QPair<QString, QString>> &types)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        QByteArray text = f.readAll();
        f.close();
        QByteArray names;
        QByteArray sections;
        for (const auto &t : types) {
            names += ',' + t.first.toLatin1();
            sections += '[' + t.first.toLatin1() + "]\r\nPOWER=" + t.second.toLatin1() + "\r\n";
        }
        int end = text.indexOf('\n', text.indexOf("TYPE="));
        if (end > 0 && text.at(end - 1) == '\r')
            --end;
        text.insert(end, names);
        text += sections;
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        return f.write(text) == text.size();
    }

    static bool appendLines(const QString &path, const QStringList &lines)
    {
        if (lines.isEmpty())
            return true;
        QFile f(path);
        if (!f.open(QIODevice::Append))
            return false;
        for (const QString &l : lines)
            f.write(l.toLatin1() + "\r\n");
        return true;
    }

    std::unique_ptr<QTemporaryDir> m_appDir;
    TemporaryRegistry m_registry;
    SimulatedDrive m_drive;
    std::unique_ptr<CMainWindow> m_window;
    std::unique_ptr<QSignalSpy> m_errors;
    std::unique_ptr<ModalWatcher> m_watcher;
    QList<Box> m_boxes;
};

// Lamp states of the dock, as a string of five 0/1 for CU, EXT, JOG, REV, FWD.
inline QString lampStates(CNavigation *nav)
{
    QString out;
    for (QLabel *lamp : { nav->CUstatusLabel, nav->ExtStatusLabel, nav->JogStatuslabel, nav->RevStatusLabel,
                          nav->FWDStatusLabel }) {
        const QString style = lamp->styleSheet();
        out += style == QLatin1String("background-color: rgb(255, 0, 0);")       ? QLatin1Char('1')
            : style == QLatin1String("background-color: rgb(190, 190, 190);") ? QLatin1Char('0')
                                                                                : QLatin1Char('?');
    }
    return out;
}

inline bool iconShows(const QIcon &icon, const QString &file)
{
    const QImage image(file);
    return !image.isNull() && !icon.isNull()
        && icon.pixmap(image.size()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied)
        == image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Seconds on the clock the drive's journal is stamped with.
inline double monotonicSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

inline QStringList repeated(int count, const QString &text)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << text;
    return out;
}
