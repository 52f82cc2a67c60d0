// The data files of the program folder: the low four bits of the first byte pick the reader, the rest is
// the file. Parameter definitions and localized texts (XML), help texts, W_Par.txt; and through the bounded
// line reader, as the program reads them: FNC.txt, monitor item lists, IOstate.txt, the alarm files,
// inputAndOutput.txt, typeInfo.txt.

#include "comm/commandtable.h"
#include "comm/typeinfo.h"
#include "monitor/alarmfiles.h"
#include "monitor/iostatefile.h"
#include "monitor/monitoritems.h"
#include "parameter/parameterdefinitions.h"
#include "parameter/parinformation.h"
#include "parameter/valuetext.h"
#include "platform/textfiles.h"
#include "quicksetup/terminallists.h"
#include "testfiles.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTextCodec>

using namespace ValueText;

static QStringList dataLines(const QByteArray &bytes)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.txt"));
    return writeFile(path, bytes) ? readDataLines(path) : QStringList();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t pick = data[0];
    QByteArray bytes(reinterpret_cast<const char *>(data + 1), int(size - 1));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    DefinitionContext context;
    context.extended = pick & 0x10;
    context.groupMode = pick & 0x20;
    context.firmware = 0.25;
    context.capacity = QStringLiteral("1.5K");
    context.voltageCode = QStringLiteral("4");
    context.reference = [](int) { return QStringLiteral("1"); };
    const char series = "ADS"[pick / 64 % 3];
    switch ((pick & 0x0f) % 10) {
    case 0: {
        static ParameterGrid grid;
        grid.reset();
        readParameterDefinitions(&buffer, context, grid);
        break;
    }
    case 1:
        readLocalizedTexts(&buffer, context);
        break;
    case 2:
        readParameterDetails(&buffer);
        break;
    case 3:
        readDeferredParameters(&buffer, series);
        break;
    case 4:
        parseCommandTable(dataLines(bytes), pick / 64 % 3);
        break;
    case 5:
        parseMonitorItems(dataLines(bytes), QStringLiteral("1.10"));
        break;
    case 6: {
        const IoStateLine line = parseIoState(dataLines(bytes), series, QStringLiteral("1.10"));
        for (const QStringList &row : line.table) {
            if (ioRowEnabled(row))
                ioTerminalActive(0x5555, row.at(2).trimmed().toInt(), line.polarity);
        }
        break;
    }
    case 7: {
        const QStringList lines = dataLines(bytes);
        alarmfiles::alarmTextOf(alarmfiles::parseAlarmCodes(lines, series), 112);
        alarmfiles::ledNamesFor(lines, series, 1.1);
        const alarmfiles::ErrorInfo info = alarmfiles::errorInfoFor(lines, series, 1.1);
        for (const QString &range : info.ranges.split(QLatin1Char(',')))
            alarmfiles::parseDetailRange(range);
        break;
    }
    case 8:
        for (const QString &field : TerminalLists::dataFields(dataLines(bytes), series, 1.1))
            TerminalLists::itemText(field);
        break;
    default: {
        QVector<QStringList> table;
        for (const QString &line : dataLines(bytes))
            table.append(line.split(QStringLiteral("//"), Qt::SkipEmptyParts));
        featureEnabledIn(table, QStringLiteral("mainDialPlot_ioState"), series, QStringLiteral("1.10"));
        break;
    }
    }
    return 0;
}
