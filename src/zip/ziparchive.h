#pragma once

// A small Qt-facing layer over the zip reader and writer for code that just wants entries as
// byte arrays: the workbook reader and the documents.

#include "zip/zipreader.h"
#include "zip/zipwriter.h"

#include <QByteArray>
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
    ZipResult read(const QString &name, QByteArray *data, bool ignoreCase = false);
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
