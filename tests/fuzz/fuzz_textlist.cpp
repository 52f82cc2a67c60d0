// The fixed-width text parameter list as the parameter form reads it: the file's lines as the bounded
// reader splits them, its header, and its data lines against the header's layout, with and without groups.

#include "parameter/parameterlistfile.h"
#include "parameter/paramglobals.h"
#include "platform/textfiles.h"

#include <QTemporaryFile>
#include <QTextCodec>

using namespace ParameterListFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryFile file;
    if (!file.isOpen() && !file.open())
        return 0;
    file.resize(0);
    file.seek(0);
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.flush();

    // The file's own type, so its data lines are read, not refused as another drive's.
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    Header header;
    QString invType;
    if (readTextHeader(gbkCodec()->toUnicode(bytes.left(bytes.indexOf('\n'))).remove(QLatin1Char('\r')), &header)) {
        acceptHeader(&header);
        invType = header.typeText.replace(QLatin1Char('|'), QLatin1Char('/'));
    }
    for (bool groups : { false, true }) {
        ReadListing listing;
        QString reason;
        readTextListing(file.fileName(), invType, groups, ParameterRows, &listing, &reason);
        for (const QString &value : listing.values)
            acceptableValue(value);
    }
    return 0;
}
