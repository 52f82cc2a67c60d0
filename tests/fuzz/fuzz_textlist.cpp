// The fixed-width text parameter list: its header line and data lines, with and without groups.

#include "parameter/parameterlistfile.h"
#include "platform/textfiles.h"

#include <QTextCodec>

using namespace ParameterListFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = gbkCodec()
                                  ->toUnicode(reinterpret_cast<const char *>(data), int(size))
                                  .split(QLatin1Char('\n'));
    Header header;
    if (readTextHeader(lines.value(0), &header))
        acceptHeader(&header);
    for (int i = 1; i < lines.size(); ++i) {
        int number = 0;
        QString value;
        for (bool groups : { false, true })
            if (readTextDataLine(lines.at(i), groups, &number, &value))
                acceptableValue(value);
    }
    return 0;
}
