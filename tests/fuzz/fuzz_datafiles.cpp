// The data files of the program folder: the first byte picks the reader, the rest is the file.
// Parameter definitions and localized texts (XML), help texts, W_Par.txt, FNC.txt.

#include "comm/commandtable.h"
#include "parameter/parameterdefinitions.h"
#include "parameter/parinformation.h"
#include "parameter/valuetext.h"
#include "platform/textfiles.h"

#include <QBuffer>
#include <QTextCodec>

using namespace ValueText;

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
    switch (pick % 5) {
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
        readDeferredParameters(&buffer, "ADS"[pick / 5 % 3]);
        break;
    default:
        parseCommandTable(gbkCodec()->toUnicode(bytes).split(QLatin1Char('\n')), pick / 5 % 3);
        break;
    }
    return 0;
}
