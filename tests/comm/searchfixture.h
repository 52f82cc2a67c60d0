#pragma once

// End-to-end set-up of the connection search: the program's main window on a port that the
// simulated drive plays, with a journal of what crossed the line.

#include "comm/comsetup.h"
#include "comm/globals.h"
#include "modalwatcher.h"
#include "pseudoterminal.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "testdirs.h"
#include "userinput.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

struct JournalFrame {
    double time = 0;     // seconds
    bool received = true; // RX: sent by the program
    QByteArray bytes;
};

// The drive's side of the line, as the drive journal records it.
inline QList<JournalFrame> readJournal(const QString &path)
{
    QList<JournalFrame> frames;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return frames;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const int note = line.indexOf('|');
        const QList<QByteArray> words = (note < 0 ? line : line.left(note)).simplified().split(' ');
        if (words.size() < 2 || (words.at(1) != "RX" && words.at(1) != "TX"))
            continue;
        JournalFrame frame;
        frame.time = words.at(0).toDouble();
        frame.received = words.at(1) == "RX";
        for (int i = 2; i < words.size(); ++i)
            frame.bytes.append(char(words.at(i).toInt(nullptr, 16)));
        frames.append(frame);
    }
    return frames;
}

class SimulatedDrive {
public:
    // settings: the scenario's lines for protocol, line and station; the drive is series D unless
    // the lines say otherwise.
    bool start(const QString &folder, const QString &settings, const QString &series = QStringLiteral("D"))
    {
        m_journal = folder + QStringLiteral("/journal.txt");
        QFile::remove(m_journal);
        const QString scenario = folder + QStringLiteral("/drive.drive");
        QFile file(scenario);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        file.write(QStringLiteral("series %1\ninclude %2/tools/drivesim/scenarios/%1.params\n%3\n")
                       .arg(series, sourceDir(), settings)
                       .toUtf8());
        file.close();
        m_process.start(drivesimPath(),
                        { scenario, QStringLiteral("--register"), QStringLiteral("COM7"), QStringLiteral("--journal"),
                          m_journal, QStringLiteral("--fnc"),
                          binDir() + QStringLiteral("/ParameterInforamtion/InvType/FNC.txt") });
        QByteArray announced;
        while (announced.count('\n') < 2 && m_process.waitForReadyRead(5000))
            announced += m_process.readAllStandardOutput();
        return announced.count('\n') >= 2;
    }

    ~SimulatedDrive()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(3000);
        }
    }

    QList<JournalFrame> journal() const { return readJournal(m_journal); }
    // The end of the journal as text, for failure messages.
    QString journalTail() const
    {
        QFile file(m_journal);
        file.open(QIODevice::ReadOnly);
        return QString::fromLatin1(file.readAll().left(1500));
    }
    // Requests the drive got before its first reply.
    QList<JournalFrame> probesBeforeAnswer() const
    {
        QList<JournalFrame> probes;
        for (const JournalFrame &frame : journal()) {
            if (!frame.received)
                break;
            probes.append(frame);
        }
        return probes;
    }

private:
    QProcess m_process;
    QString m_journal;
};

// A program folder whose data are the shipped ones.
inline bool makeAppDir(const QTemporaryDir &dir)
{
    for (const char *name : { "ParameterInforamtion", "InvParameter", "images" }) {
        if (!QFile::link(binDir() + '/' + name, dir.path() + '/' + name))
            return false;
    }
    g_appDir = dir.path() + '/';
    return true;
}

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
};
