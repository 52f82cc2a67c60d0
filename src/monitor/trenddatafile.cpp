#include "monitor/trenddatafile.h"

#include "monitor/plotvaluefile.h"
#include "platform/filesave.h"
#include "platform/textfiles.h"
#include "zip/workbook.h"

#include <QTextCodec>
#include <cmath>

namespace {

double valueAt(const TrendDataTable &table, int channel, int row)
{
    const QVector<double> &values = table.values.at(channel);
    return row < values.size() ? values.at(row) : std::nan("");
}

} // namespace

QByteArray trendTextFileBytes(const TrendDataTable &table)
{
    QString text;
    text.reserve(32 * (table.stamps.size() + 2) * (1 + table.names.size()));
    text += table.date + QStringLiteral("\r\n");
    text += table.timeHeader + QLatin1Char('\t');
    for (const QString &name : table.names)
        text += name + QLatin1Char('\t');
    text += QStringLiteral("\r\n");
    for (int r = 0; r < table.stamps.size(); ++r) {
        text += table.stamps.at(r) + QLatin1Char('\t');
        for (int c = 0; c < table.names.size() && c < table.values.size(); ++c) {
            const double value = valueAt(table, c, r);
            if (!std::isnan(value))
                text += exportNumber(value);
            text += QLatin1Char('\t');
        }
        text += QStringLiteral("\r\n");
    }
    return gbkCodec()->fromUnicode(text);
}

bool writeTrendTextFile(const QString &path, const TrendDataTable &table, QString *reason)
{
    return saveFile(path, trendTextFileBytes(table), reason);
}

bool writeTrendWorkbook(const QString &path, const TrendDataTable &table, QString *reason)
{
    Workbook book;
    // The apostrophe marks a text entry: a date must not turn into a number.
    bool ok = book.setValue(1, 1, QLatin1Char('\'') + table.date) && book.setValue(2, 1, table.timeHeader);
    for (int c = 0; ok && c < table.names.size(); ++c)
        ok = book.setValue(2, 2 + c, QLatin1Char('\'') + table.names.at(c));
    for (int r = 0; ok && r < table.stamps.size(); ++r) {
        ok = book.setValue(3 + r, 1, table.stamps.at(r));
        for (int c = 0; ok && c < table.names.size() && c < table.values.size(); ++c) {
            // A scaled reading carries binary noise (5358 x 0.1 is 535.8000000000001): the cell takes
            // the number as the chart and the text export show it.
            const double value = valueAt(table, c, r);
            if (!std::isnan(value))
                ok = book.setValue(3 + r, 2 + c, exportNumber(value).toDouble());
        }
    }
    if (ok && book.saveAs(path))
        return true;
    if (reason)
        *reason = book.errorString();
    return false;
}
