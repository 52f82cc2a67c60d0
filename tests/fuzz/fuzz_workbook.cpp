// The workbook reader on any file, then what a parameter list reads of it: the header row and the
// value column.

#include "parameter/parameterlistfile.h"
#include "zip/workbook.h"

#include <QFile>
#include <QTemporaryDir>

using namespace ParameterListFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("in.xlsx"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    Workbook book;
    if (!book.open(path))
        return 0;
    const WorkbookRange used = book.usedRange();
    readWorkbookHeader(book);
    workbookValueColumn(false, used.columnCount, book.text(1, used.column + used.columnCount - 1));
    for (int row = used.row; row < used.row + qMin(used.rowCount, 64); ++row)
        for (int column = used.column; column < used.column + qMin(used.columnCount, 16); ++column)
            book.text(row, column);
    return 0;
}
