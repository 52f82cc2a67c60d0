#pragma once

// Writer of zip archives to a file, a descriptor or memory: stored and deflated entries, folders,
// file times, attributes and traditional PKWARE encryption.

#include "zip/pkcrypt.h"
#include "zip/zipresult.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <zlib.h>

struct ZipFileInfo {
    quint16 versionMadeBy = 0x0B17;
    quint16 versionNeeded = 20;
    quint16 flags = 0;
    quint16 method = 0;
    quint32 dosStamp = 0;
    quint32 crc = 0;
    quint32 compressedSize = 0;
    quint32 uncompressedSize = 0;
    quint16 disk = 0;
    quint16 internalAttributes = 0;
    quint16 localFlags = 0;
    quint32 externalAttributes = 0;
    quint32 localHeaderOffset = 0;
    QByteArray localExtra;
    QByteArray centralExtra;
    QByteArray name;
};

class ZipWriter {
public:
    // A null or empty password means no encryption.
    explicit ZipWriter(const char *password);
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    // kind 1: target is zipFd(fd); 2: the path of the new archive; 3: a memory block of length
    // bytes (a null block makes the writer allocate its own).
    ZipResult create(const void *target, quint64 length, int kind);
    // kind 1: source is zipFd(fd) with its size in length when known, else 0; 2: a file path;
    // 3: a memory block of length bytes; 4: a folder entry (no source).
    ZipResult add(const char *name, const void *source, quint64 length, int kind);
    ZipResult getMemory(void **block, quint64 *length);
    ZipResult close();

private:
    bool write(const void *data, quint64 n);
    bool seek(quint64 position);
    void resetInput();
    ZipResult openFileInput(const char *path);
    ZipResult openHandleInput(int fd, quint64 length);
    ZipResult openMemoryInput(const void *block, quint64 length);
    ZipResult openFolderInput();
    void setInputTimesNow();
    quint64 readInput(void *buffer, quint64 n);
    ZipResult closeInput();
    ZipResult storeInput();
    ZipResult deflateInput();
    // The compressor's output callback: writes the pending bytes of the I/O buffer.
    bool flushOutput(quint64 pending);
    bool writeLocalHeader(const ZipFileInfo &info);
    ZipResult writeCentralDirectory();

    QByteArray m_password;
    int m_output = -1;
    bool m_mustCloseOutput = false;
    void *m_mapping = nullptr;
    quint64 m_outputStart = 0;
    ZipResult m_error = ZipOk;
    quint64 m_written = 0;
    bool m_outputCanSeek = false;
    uchar *m_memory = nullptr;
    quint64 m_memoryPosition = 0;
    quint64 m_memoryCapacity = 0;
    bool m_centralWritten = false;
    bool m_encrypting = false;
    PkKeys m_keys{};
    QByteArray m_encryptionBuffer;
    QVector<ZipFileInfo> m_entries;
    z_stream m_deflate;
    bool m_deflateReady = false;

    quint32 m_inputAttributes = 0;
    qint64 m_accessTime = 0, m_writeTime = 0, m_creationTime = 0; // Unix seconds, UTC
    quint32 m_inputStamp = 0;
    bool m_inputSeekable = false;
    qint64 m_inputSize = -1;
    quint64 m_bytesRead = 0;
    quint32 m_crc = 0;
    int m_input = -1;
    bool m_inputMustClose = false;
    bool m_inputFailed = false;
    const uchar *m_inputBlock = nullptr;
    quint64 m_inputLength = 0;
    quint64 m_inputPosition = 0;
    quint64 m_compressedSize = 0;
    QByteArray m_ioBuffer;
};

// The entry is stored rather than deflated when its name ends in an already compressed format.
bool hasStoredSuffix(const QByteArray &name);
// The DOS stamp (date high, time low) of a FILETIME (100 ns since 1601, UTC) in local calendar
// time, clamped to what the format holds (1980 to 2107).
quint32 fileTimeToDosDateTime(quint64 fileTime);
quint64 unixTimeToFileTime(qint64 unixTime);

// What an entry records of a file read through its descriptor: zip external attributes (Windows
// bits, the file type and owner permissions above them), size, Unix times and the DOS stamp.
struct ZipInputInfo {
    quint32 attributes = 0;
    qint64 size = 0;
    qint64 accessTime = 0, writeTime = 0, creationTime = 0;
    quint32 dosStamp = 0;
};
bool getFileInfo(int fd, ZipInputInfo *info);

extern ZipResult lastWriterResult;

ZipHandle *createZipWriter(const void *target, quint64 length, int kind, const char *password);
ZipHandle *createZipHandle(int fd, const char *password);
ZipHandle *createZipFile(const char *fileName, const char *password);
ZipHandle *createZipMemory(void *block, quint64 length, const char *password);
ZipResult zipAdd(ZipHandle *handle, const char *name, const void *source, quint64 length, int kind);
ZipResult zipAddFile(ZipHandle *handle, const char *name, const char *path);
ZipResult zipAddMemory(ZipHandle *handle, const char *name, const void *block, quint64 length);
ZipResult zipAddHandle(ZipHandle *handle, const char *name, int fd, quint64 length = 0);
ZipResult zipAddFolder(ZipHandle *handle, const char *name);
ZipResult zipGetMemory(ZipHandle *handle, void **block, quint64 *length);
ZipResult closeZipWriter(ZipHandle *handle);
bool isZipWriterHandle(const ZipHandle *handle);
int zipWriterMessage(ZipResult code, char *buffer, unsigned capacity);

// Packs the files into a new archive, each entry named by its path. Returns the first failure
// (the callers may ignore it), 0 when every file went in.
ZipResult CreateZipArchive(const QVector<QString> &paths, const QString &archivePath);
