#pragma once

// Parameter list files: the fixed-width text file and the workbook that the parameter form saves and
// opens. Plain functions over the cell texts; the form gathers the rows and applies what is read.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class Workbook;

namespace ParameterListFile
{

// Table columns of the parameter form.
enum Column {
    GroupColumn = 0,
    PColumn = 1,
    ModbusColumn = 2,
    NameColumn = 3,
    MinColumn = 5,
    MaxColumn = 6,
    UnitColumn = 7,
    DefaultColumn = 8,
    CurrentColumn = 9,
    SettingColumn = 10,
    CommentColumn = 11,
};

struct Listing {
    QString typeText; // the drive type with "|" for "/"
    int displayIndex = 0; // the display combo's index
    int sortFlag = 1; // the column last sorted by
    bool groups = false; // the Group mode column is written
    bool modbus = false; // the MODBUS column is written
    int language = 0; // 0 English, 1 and 2 Chinese
    QStringList headers; // the twelve header texts of the table
    QVector<QStringList> rows; // the twelve cell texts of each written row
};

// The table columns written, in workbook order.
QVector<int> writtenColumns(bool groups, bool modbus);

// The whole text file in GBK, every line ending in CR LF.
QByteArray textFile(const Listing &listing);

// A value differs from a default (its unit already stripped) when their numbers differ, a text that is
// no number counting as 0, or when the default is undefined.
bool differsFromDefault(const QString &value, const QString &strippedDefault);

// Fills a new workbook; false when the workbook refused something (its errorString says what).
bool fillWorkbook(Workbook &book, const Listing &listing, const QStringList &unitNames, const QString &commentTwo,
    const QString &modified);

struct Header {
    QString typeText;
    int displayIndex = 2;
    int sortColumn = 1;
};

// Line 1 of a text file; false when it holds no type text.
bool readTextHeader(const QString &line, Header *header);
// Row 1 of a workbook.
Header readWorkbookHeader(const Workbook &book);
// Only display indexes 0 to 2 and sort columns 0 and 1 exist; anything else takes the defaults, so a
// damaged header cannot leave the table in an order the transfers do not expect.
void acceptHeader(Header *header);

// The parameter number of a "P." text; false when the text names none (the row is skipped).
bool parameterNumber(const QString &text, int *number);
// A value is a number, "--" (in the file without a value) or empty; anything else is a misread field.
bool acceptableValue(const QString &value);

// No list comes near these: a larger file is refused unread, a longer line is not loaded.
constexpr qint64 MaxTextListBytes = 64 << 20;
constexpr int MaxTextListLineBytes = 4096;

// A text file's data lines are split at tabs, else at every two spaces; empty pieces dropped.
QStringList textDataFields(const QString &line);

// What a whole data line holds, from the file's header line (line 2): its number of fields, and the
// length its padded columns fill, which a line keeps where an empty or overlong field ran into the next.
struct TextLayout {
    int fields = 3;
    int paddedLength = 0; // 0: no layout of ours, the fields alone decide
};
TextLayout textLayout(const QString &headerLine, bool groups);

enum class DataLine { Skipped, Read, CutShort };
// One data line of a text file: Skipped when it names no parameter, CutShort when it names one but
// holds less than a whole row (the third field from the end would be another column); the value is as
// the line holds it (acceptableValue tells whether it may be loaded).
DataLine readTextDataLine(const QString &line, bool groups, const TextLayout &layout, int *number, QString *value);

// The column of a workbook holding the values, from the used columns and the header found in the last.
int workbookValueColumn(bool groups, int columnCount, const QString &lastHeader);

// Saves the text file (platform/filesave.h: a failed save keeps the old file); false with the reason
// when it could not.
bool saveTextListing(const QString &path, const Listing &listing, QString *reason);
// Fills a new workbook and saves it; false with the reason when it could not.
bool saveWorkbookListing(const QString &path, const Listing &listing, const QStringList &unitNames,
    const QString &commentTwo, const QString &modified, QString *reason);

// What a list file gives the parameter form: its header and one text per parameter number, empty
// when the file does not list it, "--" when it lists it without a value.
struct ReadListing {
    Header header;
    QVector<QString> values;
    QStringList refused; // "P.n: value" of each value that is no number, "P.n: ..." of each line cut
                         // short, "Line n: ..." of each overlong line; none of them is loaded
    int lastRow = -1; // a workbook's last used row, where its progress ends
};

enum class ReadResult { Read, CannotRead, OtherDrive };

// Told the row reached and the last row as a workbook is read.
using ReadProgress = std::function<void(int row, int lastRow)>;

// The lists of the drive type `invType` (as g_invType holds it) for parameters below `parameterRows`.
// CannotRead comes with the reason (a text file above MaxTextListBytes is not read); OtherDrive when
// the file is another type's (or names none).
ReadResult readWorkbookListing(const QString &path, const QString &invType, bool groups, int parameterRows,
    ReadListing *listing, QString *reason, const ReadProgress &progress = ReadProgress());
ReadResult readTextListing(const QString &path, const QString &invType, bool groups, int parameterRows,
    ReadListing *listing, QString *reason);

} // namespace ParameterListFile
