#pragma once

// Text files as the program's data files and outputs expect them: contents in GBK (the
// local 8-bit code page of the systems the data files come from), lines written with CR LF
// byte for byte, lines read back whether they end in LF or CR LF.

#include <QFile>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

class QTextCodec;

// The codec for file contents that are read or written "with the local 8-bit codec".
QTextCodec *gbkCodec();

// Whole file decoded with the codec, CR LF turned into "\n". Empty and *ok false when the
// file cannot be read.
QString readTextFile(const QString &path, QTextCodec *codec = gbkCodec(), bool *ok = nullptr);

// The file's lines without their line ends (LF or CR LF); a last line without one counts.
QStringList readTextLines(const QString &path, QTextCodec *codec = gbkCodec(), bool *ok = nullptr);

// Lines of a device one by one, none held longer than maxLineBytes: a longer line is read through
// in pieces and handed back empty with *tooLong set, so a file of one huge line costs no more memory
// than a short one. Lines end at LF; a CR before it is dropped.
class BoundedLineReader
{
public:
    BoundedLineReader(QIODevice *device, int maxLineBytes);
    // False at the end of the device.
    bool next(QByteArray *line, bool *tooLong);
    int lineNumber() const { return m_lineNumber; } // of the line last handed back, from 1

private:
    QIODevice *m_device;
    QByteArray m_buffer;
    int m_lineNumber = 0;
};

// Our data files (item lists, IOstate.txt, alarm, terminal and type lists): no real line comes near
// these, and a longer one would fill combo boxes and labels without end.
constexpr int MaxDataLineBytes = 4096;
constexpr int MaxDataNameChars = 256; // a run without a field separator of the data files
constexpr qint64 MaxDataFileBytes = 16 << 20;

// Told of each line of a data file that was passed over, and of a file refused whole (line 0);
// the shell installs one that writes the operation log.
using DataLineReport = std::function<void(const QString &path, int line, const QString &why)>;
void setDataLineReport(const DataLineReport &report);
void reportDataLine(const QString &path, int line, const QString &why);

// A data file's lines as readTextLines gives them, but bounded: a file above MaxDataFileBytes is
// refused unread (*ok false), a line above MaxDataLineBytes or holding a name above MaxDataNameChars
// comes back empty, which every data-file format skips, so the lines keep their numbers. Each is reported.
QStringList readDataLines(const QString &path, QTextCodec *codec = gbkCodec(), bool *ok = nullptr);
