// station.txt on its own and inside a .tv document, as start-up and Open read it.

#include "shell/stationfile.h"
#include "zip/ziparchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    parseStationFile(bytes);
    ZipArchiveReader reader(ZipArchivePassword);
    QByteArray contents;
    if (reader.openData(bytes) == ZipOk && reader.read(QStringLiteral("station.txt"), &contents, false, 1 << 20) == ZipOk)
        parseStationFile(contents);
    return 0;
}
