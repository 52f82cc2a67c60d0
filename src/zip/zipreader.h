#pragma once

// Reader of zip archives: the central directory, items with cleaned names, attributes and times,
// stored and deflated entries, traditional PKWARE decryption, and extraction to files,
// descriptors or memory.

#include "zip/zipresult.h"

#include <QByteArray>
#include <QVector>
#include <functional>
#include <memory>

class ZipSource;
class ZipEntryStream;

// Windows file-attribute bits reported for an item.
constexpr quint32 ZipAttrReadOnly = 0x01;
constexpr quint32 ZipAttrHidden = 0x02;
constexpr quint32 ZipAttrSystem = 0x04;
constexpr quint32 ZipAttrDirectory = 0x10;
constexpr quint32 ZipAttrArchive = 0x20;

struct ZipItem {
    int index = -1;
    char name[260] = {};
    quint32 attributes = 0;
    // 100 ns units since 1601-01-01 UTC.
    quint64 accessTime = 0;
    quint64 creationTime = 0;
    quint64 writeTime = 0;
    qint64 compressedSize = 0;
    qint64 uncompressedSize = 0;
};

// One record of the central directory, as stored.
struct ZipCentralEntry {
    QByteArray name;
    quint16 versionMadeBy = 0;
    quint16 flags = 0;
    quint16 method = 0;
    quint32 dosStamp = 0;
    quint32 crc = 0;
    quint64 compressedSize = 0;
    quint64 uncompressedSize = 0;
    quint32 externalAttributes = 0;
    quint64 localHeaderOffset = 0;
};

class ZipReader {
public:
    explicit ZipReader(const char *password);
    ~ZipReader();
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    ZipResult open(const void *target, quint64 length, int kind);
    ZipResult setBaseDirectory(const char *directory);
    ZipResult getItem(int index, ZipItem *item);
    ZipResult findItem(const char *name, bool ignoreCase, int *index, ZipItem *item);
    // kind 1: destination is zipFd(fd); 2: a path (relative ones land below the base directory);
    // 3: a memory block of length bytes, filled chunk by chunk (ZipMoreData until the last).
    ZipResult extractItem(int index, const void *destination, quint64 length, int kind);
    ZipResult close();

    int itemCount() const { return m_entries.size(); }
    QByteArray storedName(int index) const { return m_entries.value(index).name; }
    // A symbolic link as a Unix zip tool stores it: the entry's data is the link's target, not a file.
    bool isSymbolicLink(int index) const;
    // Whether the entry, when encrypted, takes the password by its check byte. A wrong password passes
    // that check once in 256, so data that then fail to decrypt are mostly damaged data.
    bool takesPassword(int index);
    const QByteArray &baseDirectory() const { return m_baseDirectory; }

private:
    ZipResult readCentralDirectory();
    ZipResult openEntry(int index);
    void closeEntry();
    ZipResult extractToDescriptor(int fd, const ZipItem &item);
    // The entry's bytes to put, then its times to fd.
    ZipResult extractEntry(
        const ZipItem &item, int fd, const std::function<ZipResult(const char *data, quint64 n)> &put);
    ZipResult extractToPath(const char *destination, const ZipItem &item);

    ZipSource *m_archive = nullptr;
    QVector<ZipCentralEntry> m_entries;
    quint64 m_bias = 0;
    int m_currentItem = -1;
    ZipItem m_cachedItem;
    int m_cachedIndex = -1;
    QByteArray m_password;
    bool m_hasPassword = false;
    QByteArray m_extractBuffer;
    QByteArray m_baseDirectory;
    std::unique_ptr<ZipEntryStream> m_stream;
};

// Creates path and the folders above it, below base when one is given (base itself one level),
// never through a symbolic link below base; returns a descriptor of the folder, -1 on failure.
int ensureDirectory(const char *base, const char *path);

// Name cleaning: drive prefixes, leading separators and everything up to a climbing "/../".
QByteArray cleanZipItemName(const QByteArray &stored);

extern ZipResult lastReaderResult;

ZipHandle *openZipHandle(int fd, const char *password);
ZipHandle *openZipFile(const char *fileName, const char *password);
ZipHandle *openZipMemory(const void *block, quint64 length, const char *password);
ZipHandle *openZipArchive(const void *target, quint64 length, int kind, const char *password);
ZipResult getZipItem(ZipHandle *handle, int index, ZipItem *item);
ZipResult findZipItem(ZipHandle *handle, const char *name, bool ignoreCase, int *index, ZipItem *item);
ZipResult setUnzipBaseDirectory(ZipHandle *handle, const char *directory);
ZipResult unzipItem(ZipHandle *handle, int index, const void *destination, quint64 length, int kind);
// The three fixed forms: to an open descriptor, to a file path, to a memory block.
ZipResult unzipItem(ZipHandle *handle, int index, int fd);
ZipResult unzipItem(ZipHandle *handle, int index, const char *path);
ZipResult unzipItem(ZipHandle *handle, int index, void *block, quint64 length);
ZipResult closeZipReader(ZipHandle *handle);
bool isZipReaderHandle(const ZipHandle *handle);
int zipReaderMessage(ZipResult code, char *buffer, unsigned capacity);

// The password every archive of the program is opened with; only encrypted entries use it.
extern const char ZipArchivePassword[];

// Extracts every item below directory. Both are 8-bit paths (QFile::encodeName).
// Returns the first failing item's result, 0 when all succeeded.
ZipResult ExtractZipArchive(const char *archivePath, const char *directory);
