#pragma once

// A small Qt-facing layer over the zip reader and writer for code that just wants entries as
// byte arrays: the workbook reader and the documents.

#include "zip/zipreader.h"
#include "zip/zipwriter.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class ZipArchiveReader {
public:
    // A null password reads unencrypted entries only.
    explicit ZipArchiveReader(const QByteArray &password = QByteArray());
    ~ZipArchiveReader();

    ZipResult openFile(const QString &path);
    ZipResult openData(const QByteArray &archive); // keeps its own copy
    bool isOpen() const { return m_reader != nullptr; }
    void close();

    // Every item in central-directory order; items that cannot be reported are left out.
    QVector<ZipItem> items();
    // Entry names exactly as stored.
    QStringList names();
    // Whether any entry is a symbolic link.
    bool holdsSymbolicLink() const;
    // Whether every encrypted entry takes this reader's password by its check byte.
    bool passwordFits();
    // An entry that declares more than maxSize bytes is refused with ZipNoMemory before any of it is
    // inflated; the reader stops any entry at its declared size, so the limit holds whatever the data.
    ZipResult read(const QString &name, QByteArray *data, bool ignoreCase = false, qint64 maxSize = -1);
    // The entry as a sequential device read piece by piece, for parts too large to hold whole; null
    // when it cannot be opened or declares more than maxSize bytes (*result says why). The device
    // needs this reader open while it is read.
    std::unique_ptr<QIODevice> openStream(const QString &name, ZipResult *result, bool ignoreCase = false,
        qint64 maxSize = -1);
    ZipResult extractAll(const QString &directory);

private:
    QByteArray m_password;
    QByteArray m_data;
    std::unique_ptr<ZipReader> m_reader;
};

class ZipArchiveWriter {
public:
    // An empty password writes unencrypted entries.
    explicit ZipArchiveWriter(const QByteArray &password = QByteArray());
    ~ZipArchiveWriter();

    ZipResult create(const QString &path);
    ZipResult add(const QString &name, const QByteArray &data);
    ZipResult addFile(const QString &name, const QString &path);
    ZipResult addFolder(const QString &name);
    // Writes the central directory; the archive is complete only when this returns 0.
    ZipResult close();

private:
    QByteArray m_password;
    std::unique_ptr<ZipWriter> m_writer;
    ZipResult m_first = ZipOk;
};
