#pragma once

// Files as the tests lay them down and read them back, and zip archives written the way any zip
// tool would (minizip), independently of the program's own writer.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <zip.h>

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
