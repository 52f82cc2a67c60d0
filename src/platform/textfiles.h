#pragma once

// Text files as the program's data files and outputs expect them: contents in GBK (the
// local 8-bit code page of the systems the data files come from), lines written with CR LF
// byte for byte, lines read back whether they end in LF or CR LF.

#include <QFile>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QTextStream>

class QTextCodec;

// The codec for file contents that are read or written "with the local 8-bit codec".
QTextCodec *gbkCodec();

// Whole file decoded with the codec, CR LF turned into "\n". Empty and *ok false when the
// file cannot be read.
QString readTextFile(const QString &path, QTextCodec *codec = gbkCodec(), bool *ok = nullptr);

// The file's lines without their line ends (LF or CR LF); a last line without one counts.
QStringList readTextLines(const QString &path, QTextCodec *codec = gbkCodec(), bool *ok = nullptr);

// Writes text whose lines end in "\n" with CR LF. mode is QIODevice::Truncate (the file is saved
// through saveFile, platform/filesave.h) or QIODevice::Append. Returns false when the file could not
// be written whole.
bool writeTextFile(const QString &path, const QString &text, QIODevice::OpenMode mode = QIODevice::Truncate,
    QTextCodec *codec = gbkCodec());

// A text file opened for writing: stream into it with "\n" line ends, the file receives
// CR LF. Encodes with GBK unless told otherwise.
//     CrLfTextWriter out(localPath(g_appDir + "station.txt"));
//     if (out.open()) { out << "NO." << station << "\n"; out.close(); }
class CrLfTextWriter
{
public:
    explicit CrLfTextWriter(const QString &path, QTextCodec *codec = gbkCodec());
    ~CrLfTextWriter();
    CrLfTextWriter(const CrLfTextWriter &) = delete;
    CrLfTextWriter &operator=(const CrLfTextWriter &) = delete;

    // mode: QIODevice::Truncate or QIODevice::Append.
    bool open(QIODevice::OpenMode mode = QIODevice::Truncate);
    bool isOpen() const;
    QTextStream &stream();
    template <typename T> CrLfTextWriter &operator<<(const T &value)
    {
        stream() << value;
        return *this;
    }
    // Flushes and closes; false when any byte failed to reach the file.
    bool close();
    QString errorString() const;

private:
    class Device;
    QFile m_file;
    Device *m_device;
    QTextStream m_stream;
    QTextCodec *m_codec;
};
