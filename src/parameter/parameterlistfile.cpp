#include "parameter/parameterlistfile.h"

#include "parameter/paramtext.h"
#include "platform/filesave.h"
#include "platform/textfiles.h"
#include "zip/workbook.h"

#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTextCodec>

namespace ParameterListFile
{

namespace
{

const QColor HeaderFill(100, 149, 237);
const QColor ModifiedFont(255, 0, 0);

struct Widths {
    int header;
    int data;
};

Widths widthsOf(int column, int language, const QString &text)
{
    const bool chinese = language == 1 || language == 2;
    switch (column) {
    case GroupColumn:
        return chinese ? Widths { 13, 14 } : Widths { 15, 15 };
    case PColumn:
        return chinese ? Widths { 7, 14 } : Widths { 15, 15 };
    case UnitColumn:
        return chinese ? Widths { 12, 14 } : Widths { 15, 15 };
    case DefaultColumn:
        if (!chinese)
            return { 30, 30 };
        // A default in Chinese characters takes two columns a character on screen.
        return { 21, !text.isEmpty() && text.at(0).unicode() > 0x7f ? 18 : 24 };
    case CurrentColumn:
        return chinese ? Widths { 8, 11 } : Widths { 15, 15 };
    case CommentColumn:
        return chinese ? Widths { 9, 9 } : Widths { 15, 15 };
    default: // MODBUS, Min, Max
        return chinese ? Widths { 13, 16 } : Widths { 15, 15 };
    }
}

// Text columns end with the Name, which is not padded.
QString fixedWidthLine(const QVector<int> &columns, const QStringList &texts, int language, bool header)
{
    QString line;
    for (int column : columns) {
        if (column == NameColumn)
            continue;
        QString text = texts.value(column);
        if (!header && column == CurrentColumn && text.isEmpty())
            text = QStringLiteral("--");
        const Widths w = widthsOf(column, language, text);
        line += text.leftJustified(header ? w.header : w.data, QLatin1Char(' '));
    }
    return line + texts.value(NameColumn);
}

int wholeNumber(const QString &text)
{
    return text.toInt();
}

} // namespace

QVector<int> writtenColumns(bool groups, bool modbus)
{
    QVector<int> columns;
    if (groups)
        columns << GroupColumn;
    columns << PColumn;
    if (modbus)
        columns << ModbusColumn;
    columns << NameColumn << MinColumn << MaxColumn << UnitColumn << DefaultColumn << CurrentColumn << CommentColumn;
    return columns;
}

QByteArray textFile(const Listing &listing)
{
    const QVector<int> columns = writtenColumns(listing.groups, listing.modbus);
    QString text = listing.typeText.leftJustified(20, QLatin1Char(' ')) + QLatin1Char(',')
        + QString::number(listing.displayIndex).leftJustified(20, QLatin1Char(' ')) + QLatin1Char(',')
        + (listing.sortFlag != 0 ? QLatin1Char('1') : QLatin1Char('0')) + QStringLiteral("\r\n");
    text += fixedWidthLine(columns, listing.headers, listing.language, true) + QStringLiteral("\r\n");
    for (const QStringList &row : listing.rows)
        text += fixedWidthLine(columns, row, listing.language, false) + QStringLiteral("\r\n");
    return gbkCodec()->fromUnicode(text);
}

bool differsFromDefault(const QString &value, const QString &strippedDefault)
{
    return value.toDouble() != strippedDefault.toDouble() || strippedDefault.contains(QLatin1String("--"));
}

bool fillWorkbook(Workbook &book, const Listing &listing, const QStringList &unitNames, const QString &commentTwo,
    const QString &modified)
{
    const QVector<int> columns = writtenColumns(listing.groups, listing.modbus);
    const int last = columns.size() + 1; // the "Comment 2" column
    if (!book.setSheetName(listing.typeText) || !book.setValue(1, 1, listing.typeText)
        || !book.setValue(1, 2, QString::number(listing.displayIndex)) || !book.setValue(1, 3, listing.sortFlag))
        return false;

    for (int i = 0; i < last; ++i) {
        const int column = i + 1;
        const int tableColumn = i < columns.size() ? columns.at(i) : -1;
        if (!book.setValue(2, column, tableColumn < 0 ? commentTwo : listing.headers.value(tableColumn))
            || !book.setInteriorColor(2, column, HeaderFill))
            return false;
        double width = 0;
        switch (tableColumn) {
        case NameColumn:
            width = 28;
            break;
        case MinColumn:
            width = 10;
            break;
        case MaxColumn:
        case UnitColumn:
        case DefaultColumn:
            width = 15;
            break;
        case CommentColumn:
        case -1:
            width = 12;
            break;
        default:
            break;
        }
        if (width > 0 && !book.setColumnWidth(column, width))
            return false;
    }

    int row = 3;
    for (const QStringList &cells : listing.rows) {
        for (int i = 0; i < columns.size(); ++i) {
            if (!book.setValue(row, i + 1, QLatin1Char('\'') + cells.value(columns.at(i))))
                return false;
        }
        const QString def = ParamText::stripUnitName(cells.value(DefaultColumn), unitNames);
        const bool changed = differsFromDefault(cells.value(CurrentColumn), def);
        if (!book.setValue(row, last, changed ? modified : QString()))
            return false;
        if (changed
            && !book.setFont(
                Workbook::cellName(row, 1) + QLatin1Char(':') + Workbook::cellName(row, last), ModifiedFont, true))
            return false;
        ++row;
    }
    return book.setAutoFilter(Workbook::cellName(2, 1) + QLatin1Char(':') + Workbook::cellName(2, last));
}

bool readTextHeader(const QString &line, Header *header)
{
    static const QRegularExpression separators(QStringLiteral("[, ]"));
    const QStringList pieces = line.split(separators, Qt::SkipEmptyParts);
    if (pieces.isEmpty())
        return false;
    header->typeText = pieces.at(0);
    header->displayIndex = 2;
    header->sortColumn = 1;
    if (pieces.size() > 2) {
        header->displayIndex = wholeNumber(pieces.at(1));
        header->sortColumn = wholeNumber(pieces.at(2));
    }
    return true;
}

Header readWorkbookHeader(const Workbook &book)
{
    Header header;
    header.typeText = book.text(1, 1).remove(QStringLiteral("InvParameter-"));
    header.displayIndex = wholeNumber(book.text(1, 2));
    const QString sort = book.text(1, 3);
    header.sortColumn = sort.isEmpty() ? 1 : wholeNumber(sort);
    return header;
}

void acceptHeader(Header *header)
{
    if (header->displayIndex < 0 || header->displayIndex > 2)
        header->displayIndex = 2;
    if (header->sortColumn != 0 && header->sortColumn != 1)
        header->sortColumn = 1;
}

bool parameterNumber(const QString &text, int *number)
{
    if (!text.contains(QLatin1String("P.")))
        return false;
    QString p = text;
    p.remove(QLatin1Char(' ')).remove(QLatin1String("P."));
    int n = wholeNumber(p);
    if (n == 0) {
        if (p == QLatin1String("99X"))
            n = ParamText::PseudoRow;
        else if (p != QLatin1String("0"))
            return false;
    }
    if (n < 0 || n >= 1600)
        return false;
    *number = n;
    return true;
}

bool acceptableValue(const QString &value)
{
    if (value.isEmpty() || value == QLatin1String("--"))
        return true;
    bool ok = false;
    value.toDouble(&ok);
    return ok;
}

QStringList textDataFields(const QString &line)
{
    return line.contains(QLatin1Char('\t')) ? line.split(QLatin1Char('\t'), Qt::SkipEmptyParts)
                                            : line.split(QStringLiteral("  "), Qt::SkipEmptyParts);
}

TextLayout textLayout(const QString &headerLine, bool groups)
{
    TextLayout layout;
    const int fields = textDataFields(headerLine).size();
    layout.fields = qMax(3, fields);
    // Our layouts: the eight columns always written, the Group mode and MODBUS columns when written.
    const int modbus = fields - 8 - (groups ? 1 : 0);
    if (modbus != 0 && modbus != 1)
        return layout;
    bool chinese = false;
    for (const QChar c : headerLine)
        chinese = chinese || c.unicode() > 0x7f;
    int length = 1; // the Name, unpadded
    for (int column : writtenColumns(groups, modbus == 1)) {
        // The narrowest a column is written: a Chinese Default value takes 18 or 24.
        if (column != NameColumn)
            length += column == DefaultColumn && chinese ? 18 : widthsOf(column, chinese ? 1 : 0, QString()).data;
    }
    layout.paddedLength = length;
    return layout;
}

DataLine readTextDataLine(const QString &line, bool groups, const TextLayout &layout, int *number, QString *value)
{
    const QStringList pieces = textDataFields(line);
    if (pieces.size() <= (groups ? 1 : 0) || !parameterNumber(pieces.at(groups ? 1 : 0), number))
        return DataLine::Skipped;
    const bool whole = pieces.size() >= layout.fields
        || (pieces.size() >= 3 && layout.paddedLength > 0 && line.size() >= layout.paddedLength);
    if (!whole)
        return DataLine::CutShort;
    *value = pieces.at(pieces.size() - 3);
    value->remove(QLatin1Char(' '));
    return DataLine::Read;
}

int workbookValueColumn(bool groups, int columnCount, const QString &lastHeader)
{
    const int p = groups ? 2 : 1;
    const bool commentTwo = lastHeader.contains(QLatin1Char('2'));
    int offset = 6;
    if (columnCount < 7)
        offset = 2;
    else if (groups && columnCount == 11)
        offset = 7;
    else if (groups && columnCount == 10)
        offset = commentTwo ? 6 : 7;
    else if (!groups && columnCount == 10)
        offset = 7;
    else if (!groups && columnCount == 9)
        offset = commentTwo ? 6 : 7;
    return p + offset;
}

bool saveTextListing(const QString &path, const Listing &listing, QString *reason)
{
    return saveFile(path, textFile(listing), reason);
}

bool saveWorkbookListing(const QString &path, const Listing &listing, const QStringList &unitNames,
    const QString &commentTwo, const QString &modified, QString *reason)
{
    Workbook book;
    if (fillWorkbook(book, listing, unitNames, commentTwo, modified) && book.saveAs(path))
        return true;
    *reason = book.errorString();
    return false;
}

static QString parameterLabel(int number)
{
    return QStringLiteral("P.") + (number == ParamText::PseudoRow ? QStringLiteral("99X") : QString::number(number));
}

// A value that is no number is named for the user instead of being loaded.
static void storeValue(ReadListing *listing, int number, const QString &value)
{
    if (acceptableValue(value)) {
        listing->values[number] = value;
        return;
    }
    listing->refused << QStringLiteral("%1: %2").arg(parameterLabel(number), value);
}

ReadResult readWorkbookListing(const QString &path, const QString &invType, bool groups, int parameterRows,
    ReadListing *listing, QString *reason, const ReadProgress &progress)
{
    Workbook book;
    if (!book.open(path)) {
        *reason = book.errorString();
        return ReadResult::CannotRead;
    }
    listing->header = readWorkbookHeader(book);
    if (listing->header.typeText != QString(invType).replace(QLatin1Char('/'), QLatin1Char('|'))) {
        book.close();
        return ReadResult::OtherDrive;
    }
    listing->values = QVector<QString>(parameterRows);
    const WorkbookRange used = book.usedRange();
    const int valueColumn = workbookValueColumn(groups, used.columnCount, book.text(2, used.columnCount));
    const int first = used.row;
    const int last = first + used.rowCount;
    for (int r : book.rows()) {
        if (r < first + 2 || r >= last)
            continue;
        if (progress)
            progress(r, last);
        int number = 0;
        if (!parameterNumber(book.text(r, groups ? 2 : 1), &number) || number >= parameterRows)
            continue;
        QString value = book.text(r, valueColumn);
        if (value.isEmpty())
            value = QStringLiteral("--");
        storeValue(listing, number, value);
    }
    book.close();
    listing->lastRow = last;
    return ReadResult::Read;
}

ReadResult readTextListing(const QString &path, const QString &invType, bool groups, int parameterRows,
    ReadListing *listing, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return ReadResult::CannotRead;
    }
    if (file.size() > MaxTextListBytes) {
        *reason
            = QCoreApplication::translate("CParameter", "The file is larger than %1 MiB, more than any parameter list")
                  .arg(MaxTextListBytes >> 20);
        return ReadResult::CannotRead;
    }
    BoundedLineReader reader(&file, MaxTextListLineBytes);
    QByteArray bytes;
    bool tooLong = false;
    auto nextLine = [&](QString *line) {
        if (!reader.next(&bytes, &tooLong))
            return false;
        *line = tooLong ? QString() : gbkCodec()->toUnicode(bytes);
        return true;
    };
    QString line;
    // An empty file or first line names no drive type, so it cannot be this drive's list.
    if (!nextLine(&line) || !readTextHeader(line, &listing->header)
        || QString(listing->header.typeText).replace(QLatin1Char('|'), QLatin1Char('/')) != invType)
        return ReadResult::OtherDrive;
    const TextLayout layout = textLayout(nextLine(&line) ? line : QString(), groups);
    listing->values = QVector<QString>(parameterRows);
    while (nextLine(&line)) {
        if (tooLong) {
            listing->refused << QCoreApplication::translate("CParameter", "Line %1: longer than %2 bytes")
                                    .arg(reader.lineNumber())
                                    .arg(MaxTextListLineBytes);
            continue;
        }
        int number = 0;
        QString value;
        const DataLine read = readTextDataLine(line, groups, layout, &number, &value);
        if (read == DataLine::Skipped || number >= parameterRows)
            continue;
        if (read == DataLine::CutShort)
            listing->refused << QStringLiteral("%1: %2").arg(
                parameterLabel(number), QCoreApplication::translate("CParameter", "the line is cut short"));
        else
            storeValue(listing, number, value);
    }
    return ReadResult::Read;
}

} // namespace ParameterListFile
