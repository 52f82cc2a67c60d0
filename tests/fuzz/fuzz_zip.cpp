// The zip reader on any bytes: items, names, and every entry read to memory within a limit.

#include "zip/ziparchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ZipArchiveReader reader(ZipArchivePassword);
    if (reader.openData(QByteArray(reinterpret_cast<const char *>(data), int(size))) != ZipOk)
        return 0;
    reader.items();
    for (const QString &name : reader.names()) {
        QByteArray contents;
        reader.read(name, &contents, false, 1 << 20);
    }
    return 0;
}
