#pragma once

// Files as the tests lay them down and read them back, and zip archives written the way any zip
// tool would (minizip), independently of the program's own writer.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <sys/resource.h>
#include <zip.h>
#include <zlib.h>

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Entry names with their contents, deflated unless `stored`.
inline bool writeZip(const QString &path, const QList<QPair<QByteArray, QByteArray>> &entries, bool stored = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    zipFile zip = zipOpen(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    const int method = stored ? 0 : Z_DEFLATED;
    const int level = stored ? 0 : Z_DEFAULT_COMPRESSION;
    for (const auto &entry : entries) {
        zip_fileinfo info = {};
        if (zipOpenNewFileInZip(zip, entry.first.constData(), &info, nullptr, 0, nullptr, 0, nullptr, method, level)
            != ZIP_OK)
            return false;
        zipWriteInFileInZip(zip, entry.second.constData(), unsigned(entry.second.size()));
        zipCloseFileInZip(zip);
    }
    return zipClose(zip, nullptr) == ZIP_OK;
}

// A deflated entry of `size` zero bytes (a multiple of 1 MiB) made without producing them: one
// flushed block of 1 MiB repeated, then an empty final block. Beside it go the ordinary entries.
inline bool writeZipBomb(const QString &path, const QByteArray &name, quint64 size,
    const QList<QPair<QByteArray, QByteArray>> &others = {})
{
    constexpr uInt Mebibyte = 1 << 20;
    QByteArray zeros(int(Mebibyte), '\0');
    QByteArray chunk(int(Mebibyte), '\0');
    z_stream z = {};
    if (deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef *>(zeros.data());
    z.avail_in = Mebibyte;
    z.next_out = reinterpret_cast<Bytef *>(chunk.data());
    z.avail_out = Mebibyte;
    const bool flushed = deflate(&z, Z_FULL_FLUSH) == Z_OK && z.avail_in == 0;
    chunk.resize(int(Mebibyte - z.avail_out));
    deflateEnd(&z);
    if (!flushed)
        return false;
    const uLong chunkCrc = crc32(0L, reinterpret_cast<const Bytef *>(zeros.constData()), Mebibyte);
    uLong crc = 0;
    QByteArray data;
    for (quint64 done = 0; done < size; done += Mebibyte) {
        data += chunk;
        crc = crc32_combine(crc, chunkCrc, Mebibyte);
    }
    data += QByteArray("\x03\x00", 2); // final fixed-Huffman block holding only its end

    QDir().mkpath(QFileInfo(path).absolutePath());
    zipFile zip = zipOpen(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    zip_fileinfo info = {};
    bool ok = zipOpenNewFileInZip2(zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9, 1)
            == ZIP_OK
        && zipWriteInFileInZip(zip, data.constData(), unsigned(data.size())) == ZIP_OK
        && zipCloseFileInZipRaw(zip, uLong(size), crc) == ZIP_OK;
    for (const auto &entry : others) {
        ok = ok
            && zipOpenNewFileInZip(zip, entry.first.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                   Z_DEFAULT_COMPRESSION)
                == ZIP_OK
            && zipWriteInFileInZip(zip, entry.second.constData(), unsigned(entry.second.size())) == ZIP_OK
            && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

// The peak resident memory of this process so far, in bytes: what an operation adds beyond the
// peak before it shows as growth.
inline qint64 peakMemory()
{
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}
