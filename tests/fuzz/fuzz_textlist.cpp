// The fixed-width text parameter list as the parameter form reads it: the file's lines as the bounded
// reader splits them, its header, and its data lines against the header's layout, with and without groups.

#include "parameter/parameterlistfile.h"
#include "parameter/paramglobals.h"
#include "platform/textfiles.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTextCodec>

using namespace ParameterListFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.txt"));
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    if (!writeFile(path, bytes))
        return 0;
    // The file's own type, so its data lines are read, not refused as another drive's.
    Header header;
    QString invType;
    if (readTextHeader(gbkCodec()->toUnicode(bytes.left(bytes.indexOf('\n'))).remove(QLatin1Char('\r')), &header)) {
        acceptHeader(&header);
        invType = header.typeText.replace(QLatin1Char('|'), QLatin1Char('/'));
    }
    for (bool groups : { false, true }) {
        ReadListing listing;
        QString reason;
        readTextListing(path, invType, groups, ParameterRows, &listing, &reason);
        for (const QString &value : listing.values)
            acceptableValue(value);
    }
    return 0;
}
