#pragma once

// Workbooks (.xlsx) with the operations the program makes on a spreadsheet application: a new workbook
// with one sheet, cells by row and column, fill colours, column widths, fonts over ranges, an
// auto-filter, save as; and for reading, open, cell texts and the used range. Rows and columns count
// from 1, column 1 being "A". Every operation reports failure through its result; errorString() says why.
// Writing goes through libxlsxwriter, reading through our zip reader and QXmlStreamReader.

#include <QColor>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

struct WorkbookRange {
    int row = 1;
    int column = 1;
    int rowCount = 1;
    int columnCount = 1;
};

class Workbook
{
public:
    static constexpr int MaxRows = 1048576;
    static constexpr int MaxColumns = 16384;

    Workbook();

    // The first sheet of an existing workbook; the workbook holds nothing else afterwards.
    bool open(const QString &path);
    // Saves through saveFile (platform/filesave.h): a failed save leaves an older file of that name as it was.
    bool saveAs(const QString &path);
    // Back to a new, empty workbook.
    void close();
    QString errorString() const { return m_error; }

    QString sheetName() const { return m_sheetName; }
    bool setSheetName(const QString &name);

    // A text starting with an apostrophe is stored as the text after it: the apostrophe marks a text entry,
    // as in the spreadsheet, and is not part of the value. An empty text leaves the cell without a value.
    bool setValue(int row, int column, const QVariant &value);
    // The cell's value: a QString, a double, a bool, or an invalid QVariant for an empty cell.
    QVariant value(int row, int column) const;
    // The value as text; numbers in their shortest form ("1", "0.5").
    QString text(int row, int column) const;

    bool setInteriorColor(int row, int column, const QColor &color);
    bool setColumnWidth(int column, double width);
    bool setFont(const QString &range, const QColor &color, bool bold);
    bool setAutoFilter(const QString &range);

    // The smallest block holding every cell the sheet mentions; "A1" alone for an empty sheet.
    WorkbookRange usedRange() const;
    // The rows holding a cell, ascending: a reader walks these, not the range, which two far cells make huge.
    QVector<int> rows() const;

    // "A", "Z", "AA"...; "A1"-style names and ranges ("A2:K2", "B3").
    static QString columnName(int column);
    static QString cellName(int row, int column);
    static bool parseRange(const QString &range, WorkbookRange *result);

private:
    struct Cell {
        QVariant value;
        QColor fill; // invalid: no fill
        QColor fontColor; // invalid: automatic
        bool bold = false;
    };
    // Row and column from 1; column MaxColumns ("XFD") is the last of its row, not the next row's first.
    static quint64 key(int row, int column) { return quint64(row - 1) * MaxColumns + quint64(column - 1); }
    static int rowOf(quint64 key) { return int(key / MaxColumns) + 1; }
    static int columnOf(quint64 key) { return int(key % MaxColumns) + 1; }
    Cell *cellAt(int row, int column);
    bool checkCell(int row, int column);
    bool writeFile(const QString &path);
    bool readFile(const QString &path);
    bool fail(const QString &reason);

    QString m_sheetName;
    QHash<quint64, Cell> m_cells;
    QHash<int, double> m_columnWidths;
    QString m_autoFilter;
    QString m_error;
};
