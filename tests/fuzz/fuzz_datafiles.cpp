// The data files of the program folder: the low four bits of the first byte pick the reader, the rest is the file.
// Parameter definitions and localized texts (XML), help texts, W_Par.txt; through the bounded line reader, as the
// program reads them: FNC.txt, monitor item lists, IOstate.txt, the alarm files, inputAndOutput.txt, typeInfo.txt.

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

static void (*const lineReaders[])(const QStringList &lines, char series) = {
    [](const QStringList &lines, char series) { parseCommandTable(lines, int(QByteArray("ADS").indexOf(series))); },
    [](const QStringList &lines, char) { parseMonitorItems(lines, QStringLiteral("1.10")); },
    [](const QStringList &lines, char series) {
        const IoStateLine line = parseIoState(lines, series, QStringLiteral("1.10"));
        for (const QStringList &row : line.table)
            if (ioRowEnabled(row))
                ioTerminalActive(0x5555, row.at(2).trimmed().toInt(), line.polarity);
    },
    [](const QStringList &lines, char series) {
        alarmfiles::alarmTextOf(alarmfiles::parseAlarmCodes(lines, series), 112);
        alarmfiles::ledNamesFor(lines, series, 1.1);
        for (const QString &range : alarmfiles::errorInfoFor(lines, series, 1.1).ranges.split(QLatin1Char(',')))
            alarmfiles::parseDetailRange(range);
    },
    [](const QStringList &lines, char series) {
        for (const QString &field : TerminalLists::dataFields(lines, series, 1.1))
            TerminalLists::itemText(field);
    },
    [](const QStringList &lines, char series) {
        QVector<QStringList> table;
        for (const QString &line : lines)
            table.append(line.split(QStringLiteral("//"), Qt::SkipEmptyParts));
        featureEnabledIn(table, QStringLiteral("mainDialPlot_ioState"), series, QStringLiteral("1.10"));
    },
};

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
    default: // the line files, in the order of the seeds' first bytes from 4 on
        lineReaders[(pick & 0x0f) % 10 - 4](dataLines(bytes), series);
    }
    return 0;
}
