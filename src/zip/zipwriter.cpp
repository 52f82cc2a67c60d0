#include "zip/zipwriter.h"

#include <QFile>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <random>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

ZipResult lastWriterResult = ZipOk;

namespace {

constexpr quint64 IoChunk = 16384;
constexpr int CompressionLevel = 8;
constexpr int NameCapacity = 260;
constexpr quint64 Max32 = 0xFFFFFFFFu;
constexpr int MaxEntries = 65535;
constexpr quint32 FolderAttributes = 0x41C00010u;
constexpr quint32 UnknownFileAttributes = 0x80000000u;
constexpr qint64 FileTimeEpochOffset = 116444736000000000LL; // 1601-01-01 to 1970-01-01 in 100 ns

void put16(QByteArray &b, quint16 v)
{
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

void put32(QByteArray &b, quint32 v)
{
    put16(b, quint16(v & 0xFFFF));
    put16(b, quint16(v >> 16));
}

// The "UT" field holds signed 32-bit seconds.
quint32 utTime(qint64 t) { return quint32(qint32(qBound<qint64>(INT_MIN, t, INT_MAX))); }

} // namespace

quint32 fileTimeToDosDateTime(quint64 fileTime)
{
    const time_t t = time_t((qint64(fileTime) - FileTimeEpochOffset) / 10000000LL);
    struct tm tm = {};
    localtime_r(&t, &tm);
    int year = tm.tm_year + 1900;
    if (year < 1980)
        return (0 << 9 | 1 << 5 | 1) << 16; // 1980-01-01 00:00:00
    if (year > 2107)
        return quint32(127 << 9 | 12 << 5 | 31) << 16 | (23 << 11 | 59 << 5 | 29);
    const quint32 date = quint32((year - 1980) << 9 | (tm.tm_mon + 1) << 5 | tm.tm_mday);
    const quint32 time = quint32(tm.tm_hour << 11 | tm.tm_min << 5 | tm.tm_sec / 2);
    return date << 16 | time;
}

quint64 unixTimeToFileTime(qint64 unixTime)
{
    return quint64(unixTime * 10000000LL + FileTimeEpochOffset);
}

// Owner-execute is claimed only for a Windows executable, recognised by its headers as the
// archives of the program's own platform mark them; a Unix execute bit means nothing there.
static bool looksExecutable(int fd, qint64 size)
{
    uchar head[40];
    if (size <= 40 || ::pread(fd, head, sizeof head, 0) != qint64(sizeof head))
        return false;
    if (quint16(head[0] | head[1] << 8) != 0x54AD)
        return false;
    const quint32 h = quint32(head[36]) | quint32(head[37]) << 8 | quint32(head[38]) << 16 | quint32(head[39]) << 24;
    if (quint64(size) <= quint64(h) + 52)
        return false;
    uchar sig[4];
    if (::pread(fd, sig, 4, off_t(h)) != 4)
        return false;
    const quint32 v = quint32(sig[0]) | quint32(sig[1]) << 8 | quint32(sig[2]) << 16 | quint32(sig[3]) << 24;
    return v == 0x5A4D || v == 0x454E || v == 0x454C || v == 0x4550;
}

bool getFileInfo(int fd, ZipInputInfo *info)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return false;
    const bool directory = S_ISDIR(st.st_mode);
    const bool readOnly = !(st.st_mode & S_IWUSR);
    info->size = qint64(st.st_size);
    info->attributes = (readOnly ? 0x01u : 0) | (directory ? 0x10u : 0x20u) | (directory ? 0x40000000u : 0x80000000u)
        | 0x01000000u | (readOnly ? 0 : 0x00800000u)
        | (!directory && looksExecutable(fd, info->size) ? 0x00400000u : 0);
    info->accessTime = qint64(st.st_atime);
    info->writeTime = qint64(st.st_mtime);
    info->creationTime = info->writeTime;
    struct statx sx;
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
        info->creationTime = qint64(sx.stx_btime.tv_sec);
    info->dosStamp = fileTimeToDosDateTime(unixTimeToFileTime(info->writeTime));
    return true;
}

bool hasStoredSuffix(const QByteArray &name)
{
    const int dot = name.lastIndexOf('.');
    if (dot < 0)
        return false;
    const QByteArray suffix = name.mid(dot).toLower();
    static const char *const stored[] = {".z", ".zip", ".zoo", ".arc", ".lzh", ".arj", ".gz", ".tgz"};
    for (const char *s : stored) {
        if (suffix == s)
            return true;
    }
    return false;
}

ZipWriter::ZipWriter(const char *password)
    : m_password(password && *password ? password : nullptr)
{
    m_ioBuffer.resize(int(IoChunk));
}

ZipWriter::~ZipWriter()
{
    if (m_output >= 0 || m_mapping)
        close();
    if (m_deflateReady)
        deflateEnd(&m_deflate);
    if (m_inputMustClose && m_input >= 0)
        ::close(m_input);
}

ZipResult ZipWriter::create(const void *target, quint64 length, int kind)
{
    if (m_output >= 0 || m_mapping || m_memory || m_written || m_error || m_centralWritten)
        return ZipNotInitialised;
    switch (kind) {
    case ZipKindHandle: {
        m_output = zipFdOf(target);
        m_mustCloseOutput = false;
        const off_t here = ::lseek(m_output, 0, SEEK_CUR);
        m_outputCanSeek = here >= 0;
        m_outputStart = m_outputCanSeek ? quint64(here) : 0;
        return ZipOk;
    }
    case ZipKindPath:
        m_output = target ? ::open(static_cast<const char *>(target), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)
                          : -1;
        if (m_output < 0)
            return ZipCannotOpen;
        m_outputCanSeek = true;
        m_outputStart = 0;
        m_mustCloseOutput = true;
        return ZipOk;
    case ZipKindMemory:
        if (length == 0)
            return ZipMemoryTooSmall;
        if (!target) {
            void *m = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (m == MAP_FAILED)
                return ZipNoMemory;
            m_mapping = m;
            m_memory = static_cast<uchar *>(m);
        } else {
            m_memory = static_cast<uchar *>(const_cast<void *>(target));
        }
        m_outputCanSeek = true;
        m_memoryPosition = 0;
        m_memoryCapacity = length;
        return ZipOk;
    default:
        return ZipBadArguments;
    }
}

// Every byte must go out: a short write is an error, not a smaller archive.
bool ZipWriter::write(const void *data, quint64 n)
{
    const char *p = static_cast<const char *>(data);
    if (m_encrypting && n) {
        if (quint64(m_encryptionBuffer.size()) < n)
            m_encryptionBuffer.resize(int(n * 2));
        std::memcpy(m_encryptionBuffer.data(), data, n);
        pkEncrypt(m_keys, reinterpret_cast<uint8_t *>(m_encryptionBuffer.data()), n);
        p = m_encryptionBuffer.constData();
    }
    if (m_memory) {
        // One byte of the capacity always stays free.
        if (m_memoryPosition + n >= m_memoryCapacity) {
            m_error = ZipMemoryTooSmall;
            return false;
        }
        std::memcpy(m_memory + m_memoryPosition, p, n);
        m_memoryPosition += n;
        return true;
    }
    if (m_output < 0) {
        m_error = ZipNotInitialised;
        return false;
    }
    while (n) {
        const ssize_t w = ::write(m_output, p, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            m_error = ZipWriteFailed;
            return false;
        }
        p += w;
        n -= quint64(w);
    }
    return true;
}

bool ZipWriter::seek(quint64 position)
{
    if (!m_outputCanSeek) {
        m_error = ZipCannotSeek;
        return false;
    }
    if (m_memory) {
        if (position >= m_memoryCapacity) {
            m_error = ZipMemoryTooSmall;
            return false;
        }
        m_memoryPosition = position;
        return true;
    }
    if (m_output < 0) {
        m_error = ZipNotInitialised;
        return false;
    }
    if (::lseek(m_output, off_t(m_outputStart + position), SEEK_SET) < 0) {
        m_error = ZipCannotSeek;
        return false;
    }
    return true;
}

void ZipWriter::resetInput()
{
    if (m_inputMustClose && m_input >= 0)
        ::close(m_input);
    m_input = -1;
    m_inputMustClose = false;
    m_inputFailed = false;
    m_inputBlock = nullptr;
    m_inputLength = m_inputPosition = 0;
    m_crc = 0;
    m_bytesRead = 0;
    m_inputSize = -1;
    m_compressedSize = 0;
}

void ZipWriter::setInputTimesNow()
{
    m_accessTime = m_writeTime = m_creationTime = qint64(::time(nullptr));
    m_inputStamp = fileTimeToDosDateTime(unixTimeToFileTime(m_writeTime));
}

ZipResult ZipWriter::openFileInput(const char *path)
{
    resetInput();
    if (!path)
        return ZipBadArguments;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ZipCannotOpen;
    const ZipResult r = openHandleInput(fd, 0);
    if (r != ZipOk) {
        ::close(fd);
        return r;
    }
    m_inputMustClose = true;
    return ZipOk;
}

ZipResult ZipWriter::openHandleInput(int fd, quint64 length)
{
    resetInput();
    if (fd < 0)
        return ZipBadArguments;
    m_input = fd;
    if (::lseek(fd, 0, SEEK_CUR) >= 0) {
        ZipInputInfo info;
        if (!getFileInfo(fd, &info)) {
            m_input = -1;
            return ZipCannotOpen;
        }
        m_inputAttributes = info.attributes;
        m_inputSize = info.size;
        m_accessTime = info.accessTime;
        m_writeTime = info.writeTime;
        m_creationTime = info.creationTime;
        m_inputStamp = info.dosStamp;
        ::lseek(fd, 0, SEEK_SET);
        m_inputSeekable = true;
    } else {
        m_inputAttributes = UnknownFileAttributes;
        m_inputSize = length ? qint64(length) : -1;
        m_inputSeekable = false;
        setInputTimesNow();
    }
    return ZipOk;
}

ZipResult ZipWriter::openMemoryInput(const void *block, quint64 length)
{
    resetInput();
    if (!block || !length)
        return ZipBadArguments;
    m_inputBlock = static_cast<const uchar *>(block);
    m_inputLength = length;
    m_inputAttributes = UnknownFileAttributes;
    m_inputSize = qint64(length);
    m_inputSeekable = true;
    setInputTimesNow();
    return ZipOk;
}

ZipResult ZipWriter::openFolderInput()
{
    resetInput();
    m_inputAttributes = FolderAttributes;
    m_inputSize = 0;
    m_inputSeekable = false;
    setInputTimesNow();
    return ZipOk;
}

quint64 ZipWriter::readInput(void *buffer, quint64 n)
{
    quint64 got = 0;
    if (m_inputBlock) {
        if (m_inputPosition < m_inputLength) {
            got = qMin(m_inputLength - m_inputPosition, n);
            std::memcpy(buffer, m_inputBlock + m_inputPosition, got);
            m_inputPosition += got;
        }
    } else if (m_input >= 0) {
        ssize_t r;
        do
            r = ::read(m_input, buffer, n);
        while (r < 0 && errno == EINTR);
        if (r < 0)
            m_inputFailed = true;
        got = r > 0 ? quint64(r) : 0;
    } else {
        m_error = ZipNotInitialised;
    }
    m_bytesRead += got;
    m_crc = crc32(m_crc, static_cast<const void *>(buffer), size_t(got));
    return got;
}

ZipResult ZipWriter::closeInput()
{
    if (m_inputMustClose && m_input >= 0)
        ::close(m_input);
    m_input = -1;
    m_inputMustClose = false;
    const bool mismatch = m_inputSize >= 0 && quint64(m_inputSize) != m_bytesRead;
    m_inputSize = qint64(m_bytesRead);
    return mismatch ? ZipSizeMismatch : ZipOk;
}

ZipResult ZipWriter::storeInput()
{
    for (;;) {
        const quint64 n = readInput(m_ioBuffer.data(), IoChunk);
        if (n == 0)
            break;
        if (!write(m_ioBuffer.constData(), n))
            return ZipSizeMismatch;
        m_compressedSize += n;
    }
    return m_inputFailed ? ZipReadFailed : ZipOk;
}

ZipResult ZipWriter::deflateInput()
{
    if (!m_deflateReady) {
        std::memset(&m_deflate, 0, sizeof m_deflate);
        if (deflateInit2(&m_deflate, CompressionLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return ZipFlationError;
        m_deflateReady = true;
    } else if (deflateReset(&m_deflate) != Z_OK) {
        return ZipFlationError;
    }
    QByteArray in(int(IoChunk), '\0');
    int flush = Z_NO_FLUSH;
    do {
        const quint64 n = readInput(in.data(), IoChunk);
        if (m_inputFailed)
            return ZipReadFailed;
        flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
        m_deflate.next_in = reinterpret_cast<Bytef *>(in.data());
        m_deflate.avail_in = uInt(n);
        do {
            m_deflate.next_out = reinterpret_cast<Bytef *>(m_ioBuffer.data());
            m_deflate.avail_out = uInt(IoChunk);
            if (deflate(&m_deflate, flush) == Z_STREAM_ERROR)
                return ZipFlationError;
            if (!flushOutput(IoChunk - m_deflate.avail_out))
                return ZipWriteFailed;
        } while (m_deflate.avail_out == 0);
    } while (flush != Z_FINISH);
    return ZipOk;
}

bool ZipWriter::flushOutput(quint64 pending)
{
    if (pending && !write(m_ioBuffer.constData(), pending))
        return false;
    m_compressedSize += pending;
    return true;
}

bool ZipWriter::writeLocalHeader(const ZipFileInfo &info)
{
    QByteArray h;
    h.reserve(30 + info.name.size() + info.localExtra.size());
    h.append("PK\x03\x04", 4);
    put16(h, info.versionNeeded);
    put16(h, info.localFlags);
    put16(h, info.method);
    put32(h, info.dosStamp);
    put32(h, info.crc);
    put32(h, info.compressedSize);
    put32(h, info.uncompressedSize);
    put16(h, quint16(info.name.size()));
    put16(h, quint16(info.localExtra.size()));
    h.append(info.name);
    h.append(info.localExtra);
    return write(h.constData(), quint64(h.size()));
}

ZipResult ZipWriter::add(const char *name, const void *source, quint64 length, int kind)
{
    if (m_error)
        return ZipPreviousError;
    if (m_centralWritten)
        return ZipAlreadyEnded;
    // The end record counts entries in 16 bits.
    if (m_entries.size() >= MaxEntries)
        return ZipBadArguments;
    const bool folder = kind == ZipKindFolder;
    const bool encrypt = !m_password.isNull() && !folder;
    const quint32 extra = encrypt ? 12 : 0;

    QByteArray stored(name ? name : "");
    stored.replace('\\', '/');
    if (folder && !stored.endsWith('/'))
        stored += '/';
    if (stored.isEmpty() || stored == "/" || stored.size() >= NameCapacity)
        return ZipBadArguments;
    const quint16 method = (folder || hasStoredSuffix(stored)) ? 0 : 8;

    ZipResult r;
    switch (kind) {
    case ZipKindPath: r = openFileInput(static_cast<const char *>(source)); break;
    case ZipKindHandle: r = openHandleInput(zipFdOf(source), length); break;
    case ZipKindMemory: r = openMemoryInput(source, length); break;
    case ZipKindFolder: r = openFolderInput(); break;
    default: return ZipBadArguments;
    }
    if (r != ZipOk)
        return r;
    // Sizes and offsets are 32-bit fields; 0xFFFFFFFF marks an unknown size.
    const quint64 offset = m_written + m_outputStart;
    if ((m_inputSize >= 0 && quint64(m_inputSize) + extra >= Max32) || offset > Max32) {
        closeInput();
        return ZipBadArguments;
    }

    ZipFileInfo info;
    info.dosStamp = m_inputStamp;
    info.flags = encrypt ? 9 : 8;
    info.localFlags = info.flags;
    info.method = method;
    info.compressedSize = (method == 0 && m_inputSize >= 0) ? quint32(quint64(m_inputSize) + extra) : 0;
    info.uncompressedSize = m_inputSize >= 0 ? quint32(m_inputSize) : quint32(Max32);
    info.externalAttributes = m_inputAttributes;
    info.localHeaderOffset = quint32(offset);
    put16(info.localExtra, 0x5455); // "UT"
    put16(info.localExtra, 13);
    info.localExtra.append(char(7));
    put32(info.localExtra, utTime(m_writeTime));
    put32(info.localExtra, utTime(m_accessTime));
    put32(info.localExtra, utTime(m_creationTime));
    info.centralExtra = info.localExtra.left(9);
    info.centralExtra[2] = 5;
    info.name = stored;

    if (!writeLocalHeader(info)) {
        closeInput();
        return m_error ? m_error : ZipWriteFailed;
    }
    m_written += 30 + quint64(stored.size()) + 17;

    // The header's last byte lets a reader check the password; with a data descriptor it is the
    // high byte of the DOS time, the only check value known before the data.
    m_keys = pkInitKeys(m_password.constData());
    uint8_t header[12];
    static std::mt19937 random{std::random_device{}()};
    for (int i = 0; i < 11; ++i)
        header[i] = uint8_t(random() >> 7);
    header[11] = uint8_t(info.dosStamp >> 8);
    pkEncrypt(m_keys, header, 12);
    if (encrypt) {
        if (!write(header, 12)) {
            closeInput();
            return m_error;
        }
        m_written += 12;
    }

    m_encrypting = encrypt;
    if (folder)
        r = ZipOk;
    else
        r = method == 8 ? deflateInput() : storeInput();
    m_encrypting = false;
    closeInput();
    m_written += m_compressedSize;
    if (m_error)
        return m_error;
    if (r != ZipOk)
        return r == ZipReadFailed ? r : ZipWriteFailed;
    if (m_bytesRead >= Max32 || m_compressedSize + extra > Max32 || m_written + m_outputStart > Max32) {
        m_error = ZipBadArguments; // the archive cannot describe what was just written
        return m_error;
    }

    if (method == 8)
        info.flags |= 2; // maximum compression
    info.crc = m_crc;
    const quint32 compressed = quint32(m_compressedSize + extra);
    const bool sizeRight = info.compressedSize == compressed;
    info.compressedSize = compressed;
    info.uncompressedSize = quint32(m_bytesRead);

    if (m_outputCanSeek && !encrypt) {
        if (!(info.flags & 1))
            info.flags &= ~8;
        info.localFlags = info.flags;
        if (!seek(info.localHeaderOffset - m_outputStart))
            return m_error;
        if (!writeLocalHeader(info))
            return m_error ? m_error : ZipWriteFailed;
        if (!seek(m_written))
            return m_error;
    } else {
        if (method == 0 && !sizeRight)
            return ZipCannotChange;
        QByteArray d("PK\x07\x08", 4);
        put32(d, info.crc);
        put32(d, info.compressedSize);
        put32(d, info.uncompressedSize);
        if (!write(d.constData(), 16))
            return m_error;
        m_written += 16;
        info.flags = info.localFlags;
    }
    if (m_error)
        return m_error;
    m_entries.append(info);
    return ZipOk;
}

ZipResult ZipWriter::writeCentralDirectory()
{
    const quint64 start = m_written;
    bool ok = true;
    for (const ZipFileInfo &e : qAsConst(m_entries)) {
        if (!ok)
            break;
        QByteArray h;
        h.append("PK\x01\x02", 4);
        put16(h, e.versionMadeBy);
        put16(h, e.versionNeeded);
        put16(h, e.flags);
        put16(h, e.method);
        put32(h, e.dosStamp);
        put32(h, e.crc);
        put32(h, e.compressedSize);
        put32(h, e.uncompressedSize);
        put16(h, quint16(e.name.size()));
        put16(h, quint16(e.centralExtra.size()));
        put16(h, 0);
        put16(h, e.disk);
        put16(h, e.internalAttributes);
        put32(h, e.externalAttributes);
        put32(h, e.localHeaderOffset);
        h.append(e.name);
        h.append(e.centralExtra);
        ok = write(h.constData(), quint64(h.size()));
        m_written += quint64(h.size());
    }
    const int count = m_entries.size();
    m_entries.clear();
    if (!ok)
        return m_error ? m_error : ZipWriteFailed;
    if (start + m_outputStart > Max32 || m_written - start > Max32)
        return ZipBadArguments;
    QByteArray end("PK\x05\x06", 4);
    put16(end, 0);
    put16(end, 0);
    put16(end, quint16(count));
    put16(end, quint16(count));
    put32(end, quint32(m_written - start));
    put32(end, quint32(start + m_outputStart));
    put16(end, 0);
    if (!write(end.constData(), 22))
        return m_error ? m_error : ZipWriteFailed;
    m_written += 22;
    return ZipOk;
}

ZipResult ZipWriter::close()
{
    ZipResult r = ZipOk;
    if (!m_centralWritten)
        r = writeCentralDirectory();
    m_centralWritten = true;
    if (m_mapping) {
        ::munmap(m_mapping, m_memoryCapacity);
        m_mapping = nullptr;
        m_memory = nullptr;
    }
    if (m_mustCloseOutput && m_output >= 0 && ::close(m_output) != 0 && r == ZipOk)
        r = ZipWriteFailed;
    m_output = -1;
    m_mustCloseOutput = false;
    return r;
}

ZipResult ZipWriter::getMemory(void **block, quint64 *length)
{
    ZipResult r = ZipOk;
    if (!m_centralWritten)
        r = writeCentralDirectory();
    m_centralWritten = true;
    *block = m_memory;
    *length = m_written;
    if (!m_memory)
        return ZipNotMemoryArchive;
    return r;
}

// Handle-level interface -------------------------------------------------------------------------

namespace {

ZipResult withWriter(ZipHandle *handle, const std::function<ZipResult(ZipWriter *)> &operation)
{
    if (!handle)
        return lastWriterResult = ZipBadArguments;
    if (handle->kind != ZipHandle::Writer)
        return lastWriterResult = ZipMixedHandle;
    return lastWriterResult = operation(static_cast<ZipWriter *>(handle->object));
}

} // namespace

ZipHandle *createZipWriter(const void *target, quint64 length, int kind, const char *password)
{
    auto *writer = new ZipWriter(password);
    lastWriterResult = writer->create(target, length, kind);
    if (lastWriterResult != ZipOk) {
        delete writer;
        return nullptr;
    }
    return new ZipHandle{ZipHandle::Writer, writer};
}

ZipHandle *createZipHandle(int fd, const char *password) { return createZipWriter(zipFd(fd), 0, ZipKindHandle, password); }
ZipHandle *createZipFile(const char *fileName, const char *password)
{
    return createZipWriter(fileName, 0, ZipKindPath, password);
}
ZipHandle *createZipMemory(void *block, quint64 length, const char *password)
{
    return createZipWriter(block, length, ZipKindMemory, password);
}

ZipResult zipAdd(ZipHandle *handle, const char *name, const void *source, quint64 length, int kind)
{
    return withWriter(handle, [&](ZipWriter *w) { return w->add(name, source, length, kind); });
}

ZipResult zipAddFile(ZipHandle *handle, const char *name, const char *path)
{
    return zipAdd(handle, name, path, 0, ZipKindPath);
}
ZipResult zipAddMemory(ZipHandle *handle, const char *name, const void *block, quint64 length)
{
    return zipAdd(handle, name, block, length, ZipKindMemory);
}
ZipResult zipAddHandle(ZipHandle *handle, const char *name, int fd, quint64 length)
{
    return zipAdd(handle, name, zipFd(fd), length, ZipKindHandle);
}
ZipResult zipAddFolder(ZipHandle *handle, const char *name) { return zipAdd(handle, name, nullptr, 0, ZipKindFolder); }

ZipResult zipGetMemory(ZipHandle *handle, void **block, quint64 *length)
{
    if (!handle) {
        *block = nullptr;
        *length = 0;
    }
    return withWriter(handle, [&](ZipWriter *w) { return w->getMemory(block, length); });
}

ZipResult closeZipWriter(ZipHandle *handle)
{
    const ZipResult r = withWriter(handle, [](ZipWriter *w) { return w->close(); });
    if (handle && handle->kind == ZipHandle::Writer) {
        delete static_cast<ZipWriter *>(handle->object);
        delete handle;
    }
    return r;
}

bool isZipWriterHandle(const ZipHandle *handle) { return handle && handle->kind == ZipHandle::Writer; }

int zipWriterMessage(ZipResult code, char *buffer, unsigned capacity)
{
    return copyZipResultText(code == ZipLastResult ? lastWriterResult : code, true, buffer, capacity);
}

ZipResult CreateZipArchive(const QVector<QString> &paths, const QString &archivePath)
{
    ZipHandle *handle = createZipFile(QFile::encodeName(archivePath).constData(), nullptr);
    if (!handle)
        return lastWriterResult;
    ZipResult first = ZipOk;
    for (const QString &path : paths) {
        const QByteArray p = QFile::encodeName(path);
        const ZipResult r = zipAddFile(handle, p.constData(), p.constData());
        if (r != ZipOk && first == ZipOk)
            first = r;
    }
    const ZipResult r = closeZipWriter(handle);
    return first != ZipOk ? first : r;
}
