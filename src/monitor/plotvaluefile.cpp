#include "monitor/plotvaluefile.h"

#include "platform/filesave.h"
#include "platform/textfiles.h"

#include <QTextCodec>

QString exportNumber(double value)
{
    return QString::number(value, 'g', 6);
}

QByteArray plotValueFileBytes(const PlotValueTable &table)
{
    QString text;
    for (const QString &name : table.names)
        text += name + QStringLiteral("H\t");
    text += QStringLiteral("\r\n");
    for (int r = 0; r < table.rowCount; ++r) {
        for (int c = 0; c < table.names.size(); ++c) {
            const QVector<double> channel = table.values.value(c);
            if (r < channel.size())
                text += exportNumber(channel.at(r)) + QLatin1Char('D');
            text += QLatin1Char('\t');
        }
        text += QStringLiteral("\r\n");
    }
    return gbkCodec()->fromUnicode(text);
}

bool writePlotValueFile(const QString &path, const PlotValueTable &table, QString *reason)
{
    return saveFile(path, plotValueFileBytes(table), reason);
}
