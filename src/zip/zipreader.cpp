#include "zip/zipreader.h"

#include "platform/filesave.h"
#include "platform/paths.h"
#include "zip/pkcrypt.h"
#include "zip/zipsource.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

ZipResult lastReaderResult = ZipOk;
const char ZipArchivePassword[] = "731924";

namespace {

constexpr quint64 ExtractChunk = 262144;
constexpr quint64 InputChunk = 65536;
constexpr qint64 FileTimeEpochOffset = 116444736000000000LL; // 1601-01-01 to 1970-01-01 in 100 ns
constexpr int NameCapacity = 260;

inline quint16 le16(const uchar *p) { return quint16(p[0] | (p[1] << 8)); }
inline quint32 le32(const uchar *p) { return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24; }

quint64 unixToFileTime(qint64 t) { return quint64(t * 10000000LL + FileTimeEpochOffset); }

// The stamp is local time, as every zip tool writes and reads it.
quint64 dosStampToFileTime(quint32 stamp)
{
    const quint32 date = stamp >> 16, time = stamp & 0xFFFF;
    struct tm tm = {};
    tm.tm_year = int(date >> 9) + 80;
    tm.tm_mon = int((date >> 5) & 15) - 1;
    tm.tm_mday = int(date & 31);
    tm.tm_hour = int(time >> 11);
    tm.tm_min = int((time >> 5) & 63);
    tm.tm_sec = int(time & 31) * 2;
    tm.tm_isdst = -1;
    return unixToFileTime(qint64(mktime(&tm)));
}

struct timespec fileTimeToTimespec(quint64 fileTime)
{
    const qint64 t = qint64(fileTime) - FileTimeEpochOffset;
    qint64 sec = t / 10000000LL, rest = t % 10000000LL;
    if (rest < 0) {
        rest += 10000000LL;
        --sec;
    }
    struct timespec ts;
    ts.tv_sec = time_t(sec);
    ts.tv_nsec = long(rest * 100);
    return ts;
}

quint32 itemAttributes(quint16 versionMadeBy, quint32 a)
{
    bool directory = a & 0x40000000u, readOnly = !(a & 0x00800000u), hidden = false, system = false, archive = true;
    const int host = versionMadeBy >> 8;
    if (host == 0 || host == 7 || host == 11 || host == 14) {
        readOnly = a & 0x01;
        hidden = a & 0x02;
        system = a & 0x04;
        directory = a & 0x10;
        archive = a & 0x20;
    }
    return (directory ? ZipAttrDirectory : 0) | (archive ? ZipAttrArchive : 0) | (hidden ? ZipAttrHidden : 0)
        | (readOnly ? ZipAttrReadOnly : 0) | (system ? ZipAttrSystem : 0);
}

// The "UT" block of the local extra field overrides the DOS times it carries. Every block and
// every time is checked against the field's length: a lying size ends the scan.
void applyExtendedTimes(const QByteArray &extra, ZipItem *item)
{
    const uchar *b = reinterpret_cast<const uchar *>(extra.constData());
    const quint64 length = quint64(extra.size());
    quint64 p = 0;
    while (p + 4 < length) {
        const quint64 size = le16(b + p + 2);
        if (p + 4 + size > length)
            return;
        if (b[p] != 'U' || b[p + 1] != 'T') {
            p += 4 + size;
            continue;
        }
        if (size < 1)
            return;
        const uchar flags = b[p + 4];
        const quint64 end = p + 4 + size;
        quint64 q = p + 5;
        quint64 *targets[3] = {&item->writeTime, &item->accessTime, &item->creationTime};
        for (int bit = 0; bit < 3; ++bit) {
            if (!(flags & (1 << bit)))
                continue;
            if (q + 4 > end)
                return;
            *targets[bit] = unixToFileTime(qint32(le32(b + q)));
            q += 4;
        }
        return;
    }
}

// Splits on either separator and drops empty, "." and ".." components, as unzip does.
QList<QByteArray> safeComponents(const QByteArray &path)
{
    QList<QByteArray> out;
    QByteArray p = path;
    p.replace('\\', '/');
    for (const QByteArray &c : p.split('/')) {
        if (!c.isEmpty() && c != "." && c != "..")
            out.append(c);
    }
    return out;
}

ZipResult writeAll(int fd, const char *data, quint64 n)
{
    while (n) {
        const ssize_t w = ::write(fd, data, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return ZipWriteFailed;
        data += w;
        n -= quint64(w);
    }
    return ZipOk;
}

} // namespace

// The data of one entry, decrypted and inflated on demand, checked against its size and CRC.
class ZipEntryStream {
public:
    ~ZipEntryStream()
    {
        if (m_inflating)
            inflateEnd(&m_z);
    }

    ZipResult open(ZipSource *source, const ZipCentralEntry &e, quint64 dataOffset, const char *password)
    {
        m_source = source;
        m_entry = e;
        m_position = dataOffset;
        m_remaining = e.compressedSize;
        if (dataOffset > source->size() || source->size() - dataOffset < e.compressedSize)
            return ZipCorrupt;
        if (e.method != 0 && e.method != 8)
            return ZipFlationError;
        m_encrypted = e.flags & 1;
        if (m_encrypted) {
            if (!password || m_remaining < 12)
                return ZipPassword;
            uchar header[12];
            if (!m_source->readAt(m_position, header, 12))
                return ZipReadFailed;
            m_position += 12;
            m_remaining -= 12;
            m_keys = pkInitKeys(password);
            pkDecrypt(m_keys, header, 12);
            const uchar check = (e.flags & 8) ? uchar(e.dosStamp >> 8) : uchar(e.crc >> 24);
            if (header[11] != check)
                return ZipPassword;
        }
        m_in.resize(int(InputChunk));
        if (e.method == 8) {
            std::memset(&m_z, 0, sizeof m_z);
            if (inflateInit2(&m_z, -MAX_WBITS) != Z_OK)
                return ZipFlationError;
            m_inflating = true;
        }
        return ZipOk;
    }

    ZipResult read(uchar *out, quint64 n, quint64 *got, bool *atEnd)
    {
        *got = 0;
        *atEnd = m_done;
        if (m_done)
            return ZipOk;
        ZipResult r = m_entry.method == 0 ? readStored(out, n, got) : readDeflated(out, n, got);
        if (r != ZipOk)
            return r;
        m_crc = crc32(m_crc, static_cast<const void *>(out), size_t(*got));
        m_produced += *got;
        if (m_produced > m_entry.uncompressedSize)
            return dataError();
        if (m_finished) {
            if (m_produced != m_entry.uncompressedSize || m_crc != m_entry.crc)
                return dataError();
            m_done = true;
            *atEnd = true;
        }
        return ZipOk;
    }

private:
    // With a wrong password that passed the one-byte check the data turns to garbage.
    ZipResult dataError() const { return m_encrypted ? ZipPassword : ZipCorrupt; }

    ZipResult fill()
    {
        const quint64 n = qMin<quint64>(m_remaining, InputChunk);
        uchar *in = reinterpret_cast<uchar *>(m_in.data());
        if (!m_source->readAt(m_position, in, n))
            return ZipReadFailed;
        m_position += n;
        m_remaining -= n;
        if (m_encrypted)
            pkDecrypt(m_keys, in, n);
        m_inStart = 0;
        m_inAvail = n;
        return ZipOk;
    }

    ZipResult readStored(uchar *out, quint64 n, quint64 *got)
    {
        while (*got < n) {
            if (m_inAvail == 0) {
                if (m_remaining == 0)
                    break;
                if (ZipResult r = fill())
                    return r;
            }
            const quint64 k = qMin(n - *got, m_inAvail);
            std::memcpy(out + *got, m_in.constData() + m_inStart, k);
            *got += k;
            m_inStart += k;
            m_inAvail -= k;
        }
        m_finished = m_remaining == 0 && m_inAvail == 0;
        return ZipOk;
    }

    // One inflate step into out; sets m_finished at the stream's end.
    ZipResult inflateInto(uchar *out, quint32 n, quint32 *got)
    {
        m_z.next_out = out;
        m_z.avail_out = n;
        while (m_z.avail_out > 0 && !m_finished) {
            if (m_z.avail_in == 0) {
                if (m_remaining == 0)
                    return dataError(); // the stream ends before its last block
                if (ZipResult r = fill())
                    return r;
                m_z.next_in = reinterpret_cast<Bytef *>(m_in.data());
                m_z.avail_in = uInt(m_inAvail);
            }
            const int ret = inflate(&m_z, Z_NO_FLUSH);
            if (ret == Z_STREAM_END)
                m_finished = true;
            else if (ret == Z_DATA_ERROR || ret == Z_NEED_DICT)
                return m_encrypted ? ZipPassword : ZipFlationError;
            else if (ret == Z_MEM_ERROR || ret == Z_STREAM_ERROR)
                return ZipFlationError;
        }
        *got = n - m_z.avail_out;
        return ZipOk;
    }

    ZipResult readDeflated(uchar *out, quint64 n, quint64 *got)
    {
        while (*got < n && !m_finished) {
            quint32 k = 0;
            if (ZipResult r = inflateInto(out + *got, quint32(qMin<quint64>(n - *got, 1u << 30)), &k))
                return r;
            *got += k;
        }
        // All declared bytes are out: look for the stream's end now so that the caller learns
        // in this call that the entry is complete.
        if (!m_finished && m_produced + *got == m_entry.uncompressedSize) {
            uchar probe;
            quint32 k = 0;
            if (ZipResult r = inflateInto(&probe, 1, &k))
                return r;
            if (k)
                return dataError();
        }
        return ZipOk;
    }

    ZipSource *m_source = nullptr;
    ZipCentralEntry m_entry;
    quint64 m_position = 0;
    quint64 m_remaining = 0;
    bool m_encrypted = false;
    PkKeys m_keys{};
    QByteArray m_in;
    quint64 m_inStart = 0;
    quint64 m_inAvail = 0;
    z_stream m_z;
    bool m_inflating = false;
    bool m_finished = false;
    bool m_done = false;
    quint32 m_crc = 0;
    quint64 m_produced = 0;
};

QByteArray cleanZipItemName(const QByteArray &stored)
{
    static const char *const climbs[] = {"\\..\\", "\\../", "/../", "/..\\"};
    int s = 0;
    for (;;) {
        const QByteArray rest = stored.mid(s);
        if (rest.size() >= 2 && rest.at(1) == ':') {
            s += 2;
            continue;
        }
        if (rest.startsWith('\\') || rest.startsWith('/')) {
            s += 1;
            continue;
        }
        int found = -1;
        for (const char *c : climbs) {
            found = rest.indexOf(c);
            if (found >= 0)
                break;
        }
        if (found < 0)
            return rest;
        s += found + 4;
    }
}

ZipReader::ZipReader(const char *password)
    : m_password(password), m_hasPassword(password != nullptr)
{
}

ZipReader::~ZipReader()
{
    close();
}

ZipResult ZipReader::open(const void *target, quint64 length, int kind)
{
    if (m_archive || m_currentItem != -1)
        return ZipNotInitialised;
    m_baseDirectory = QFile::encodeName(QDir::currentPath());
    if (!m_baseDirectory.endsWith('/'))
        m_baseDirectory += '/';
    if (kind == ZipKindHandle && ::lseek(zipFdOf(target), 0, SEEK_CUR) < 0)
        return ZipCannotSeek;
    ZipResult r;
    ZipSource *source = ZipSource::open(target, length, kind, &r);
    if (!source)
        return r;
    m_archive = source;
    if (readCentralDirectory() != ZipOk) {
        ZipSource::close(m_archive);
        m_archive = nullptr;
        m_entries.clear();
        return ZipCannotOpen;
    }
    m_cachedIndex = -1;
    return ZipOk;
}

ZipResult ZipReader::readCentralDirectory()
{
    const quint64 size = m_archive->size();
    if (size < 22)
        return ZipCorrupt;
    const quint64 tailLength = qMin<quint64>(size, 22 + 65535);
    QByteArray tail(int(tailLength), '\0');
    if (!m_archive->readAt(size - tailLength, tail.data(), tailLength))
        return ZipReadFailed;
    const uchar *t = reinterpret_cast<const uchar *>(tail.constData());
    qint64 at = -1;
    for (qint64 i = qint64(tailLength) - 22; i >= 0; --i) {
        if (t[i] == 'P' && t[i + 1] == 'K' && t[i + 2] == 5 && t[i + 3] == 6
            && quint64(i) + 22 + le16(t + i + 20) <= tailLength) {
            at = i;
            break;
        }
    }
    if (at < 0)
        return ZipCorrupt;
    const uchar *e = t + at;
    const quint64 endPosition = size - tailLength + quint64(at);
    const quint16 count = le16(e + 10);
    const quint64 cdSize = le32(e + 12), cdOffset = le32(e + 16);
    if (le16(e + 4) != 0 || le16(e + 6) != 0 || le16(e + 8) != count)
        return ZipCorrupt; // several disks
    if (endPosition >= 20 && at >= 20 && std::memcmp(e - 20, "PK\x06\x07", 4) == 0)
        return ZipCorrupt; // 64-bit records are not read
    if (cdOffset + cdSize > endPosition || cdSize > quint64(INT_MAX))
        return ZipCorrupt;
    // Data before the archive (a stub) moves every offset by the same amount.
    m_bias = endPosition - (cdOffset + cdSize);

    QByteArray cd(int(cdSize), '\0');
    if (!m_archive->readAt(m_bias + cdOffset, cd.data(), cdSize))
        return ZipReadFailed;
    const uchar *c = reinterpret_cast<const uchar *>(cd.constData());
    quint64 p = 0;
    m_entries.clear();
    m_entries.reserve(count);
    for (int i = 0; i < count; ++i) {
        if (p + 46 > cdSize || std::memcmp(c + p, "PK\x01\x02", 4) != 0)
            return ZipCorrupt;
        const quint64 n = le16(c + p + 28), m = le16(c + p + 30), k = le16(c + p + 32);
        if (p + 46 + n + m + k > cdSize)
            return ZipCorrupt;
        ZipCentralEntry entry;
        entry.versionMadeBy = le16(c + p + 4);
        entry.flags = le16(c + p + 8);
        entry.method = le16(c + p + 10);
        entry.dosStamp = le32(c + p + 12);
        entry.crc = le32(c + p + 16);
        entry.compressedSize = le32(c + p + 20);
        entry.uncompressedSize = le32(c + p + 24);
        entry.externalAttributes = le32(c + p + 38);
        entry.localHeaderOffset = le32(c + p + 42);
        entry.name = QByteArray(reinterpret_cast<const char *>(c + p + 46), int(n));
        m_entries.append(entry);
        p += 46 + n + m + k;
    }
    return ZipOk;
}

ZipResult ZipReader::setBaseDirectory(const char *directory)
{
    QByteArray d(directory ? directory : "");
    if (d.size() >= PATH_MAX)
        return ZipBadArguments;
    d.replace('\\', '/');
    if (!d.endsWith('/'))
        d += '/';
    m_baseDirectory = d;
    return ZipOk;
}

void ZipReader::closeEntry()
{
    m_stream.reset();
    m_currentItem = -1;
}

bool ZipReader::isSymbolicLink(int index) const
{
    if (index < 0 || index >= m_entries.size())
        return false;
    const ZipCentralEntry &e = m_entries.at(index);
    const int host = e.versionMadeBy >> 8;
    // DOS-like hosts keep no file type; the others keep the Unix mode in the high half.
    if (host == 0 || host == 7 || host == 11 || host == 14)
        return false;
    return ((e.externalAttributes >> 16) & 0170000u) == 0120000u;
}

bool ZipReader::takesPassword(int index)
{
    if (index < 0 || index >= m_entries.size() || !(m_entries.at(index).flags & 1))
        return true;
    const ZipResult r = openEntry(index);
    closeEntry();
    return r != ZipPassword;
}

ZipResult ZipReader::getItem(int index, ZipItem *item)
{
    if (!m_archive)
        return ZipNotInitialised;
    if (index < -1 || index >= m_entries.size())
        return ZipBadArguments;
    closeEntry();
    if (index == -1) {
        *item = ZipItem();
        item->index = m_entries.size();
        return ZipOk;
    }
    if (index == m_cachedIndex) {
        *item = m_cachedItem;
        return ZipOk;
    }
    const ZipCentralEntry &e = m_entries.at(index);
    uchar local[30];
    if (!m_archive->readAt(m_bias + e.localHeaderOffset, local, 30) || std::memcmp(local, "PK\x03\x04", 4) != 0)
        return ZipCorrupt;
    QByteArray extra(le16(local + 28), '\0');
    if (!m_archive->readAt(m_bias + e.localHeaderOffset + 30 + le16(local + 26), extra.data(), quint64(extra.size())))
        return ZipReadFailed;

    // A name that does not fit the record fails rather than being cut to another name.
    const QByteArray name = cleanZipItemName(e.name);
    if (e.name.size() >= NameCapacity || name.contains('\0'))
        return ZipCannotOpen;
    ZipItem record;
    record.index = index;
    std::memcpy(record.name, name.constData(), size_t(name.size()));
    record.attributes = itemAttributes(e.versionMadeBy, e.externalAttributes);
    record.writeTime = record.accessTime = record.creationTime = dosStampToFileTime(e.dosStamp);
    applyExtendedTimes(extra, &record);
    record.compressedSize = qint64(e.compressedSize);
    record.uncompressedSize = qint64(e.uncompressedSize);
    m_cachedItem = record;
    m_cachedIndex = index;
    *item = record;
    return ZipOk;
}

ZipResult ZipReader::findItem(const char *name, bool ignoreCase, int *index, ZipItem *item)
{
    if (!m_archive)
        return ZipNotInitialised;
    const QByteArray wanted = QByteArray(name ? name : "").left(NameCapacity - 1);
    int found = -1;
    for (int i = 0; i < m_entries.size() && found < 0; ++i) {
        const QByteArray &n = m_entries.at(i).name;
        if (ignoreCase ? qstricmp(n.constData(), wanted.constData()) == 0 && n.size() == wanted.size() : n == wanted)
            found = i;
    }
    if (found < 0) {
        if (index)
            *index = -1;
        if (item) {
            *item = ZipItem();
            item->index = -1;
        }
        return ZipNotFound;
    }
    closeEntry();
    if (index)
        *index = found;
    return item ? getItem(found, item) : ZipOk;
}

ZipResult ZipReader::openEntry(int index)
{
    closeEntry();
    ZipItem item;
    if (ZipResult r = getItem(index, &item))
        return r;
    const ZipCentralEntry &e = m_entries.at(index);
    uchar local[30];
    if (!m_archive->readAt(m_bias + e.localHeaderOffset, local, 30))
        return ZipReadFailed;
    const quint64 dataOffset = m_bias + e.localHeaderOffset + 30 + le16(local + 26) + le16(local + 28);
    auto stream = std::make_unique<ZipEntryStream>();
    if (ZipResult r = stream->open(m_archive, e, dataOffset, m_hasPassword ? m_password.constData() : nullptr))
        return r;
    m_stream = std::move(stream);
    m_currentItem = index;
    return ZipOk;
}

ZipResult ZipReader::extractItem(int index, const void *destination, quint64 length, int kind)
{
    if (kind != ZipKindHandle && kind != ZipKindPath && kind != ZipKindMemory)
        return ZipBadArguments;
    if (!m_archive)
        return ZipNotInitialised;
    if (kind == ZipKindMemory) {
        if (!destination || length == 0)
            return ZipBadArguments;
        if (index != m_currentItem) {
            closeEntry();
            if (index < 0 || index >= m_entries.size())
                return ZipBadArguments;
            if (ZipResult r = openEntry(index))
                return r;
        }
        quint64 got = 0;
        bool atEnd = false;
        const ZipResult r = m_stream->read(static_cast<uchar *>(const_cast<void *>(destination)), length, &got, &atEnd);
        if (r != ZipOk || got == 0)
            closeEntry();
        if (r != ZipOk)
            return r;
        return atEnd ? ZipOk : ZipMoreData;
    }

    closeEntry();
    if (index < 0 || index >= m_entries.size())
        return ZipBadArguments;
    ZipItem item;
    if (ZipResult r = getItem(index, &item))
        return r;
    if (kind == ZipKindHandle)
        return (item.attributes & ZipAttrDirectory) ? ZipOk : extractToDescriptor(zipFdOf(destination), item);
    if (!destination)
        return ZipBadArguments;
    return extractToPath(static_cast<const char *>(destination), item);
}

ZipResult ZipReader::extractToDescriptor(int fd, const ZipItem &item)
{
    return extractEntry(item, fd, [fd](const char *data, quint64 n) { return writeAll(fd, data, n); });
}

ZipResult ZipReader::extractEntry(
    const ZipItem &item, int fd, const std::function<ZipResult(const char *data, quint64 n)> &put)
{
    ZipResult r = openEntry(item.index);
    if (m_extractBuffer.isEmpty())
        m_extractBuffer.resize(int(ExtractChunk));
    bool atEnd = false;
    while (r == ZipOk && !atEnd) {
        quint64 got = 0;
        r = m_stream->read(reinterpret_cast<uchar *>(m_extractBuffer.data()), ExtractChunk, &got, &atEnd);
        if (r == ZipOk && got)
            r = put(m_extractBuffer.constData(), got);
        if (r == ZipOk && got == 0 && !atEnd)
            r = ZipCorrupt;
    }
    if (r == ZipOk) {
        const struct timespec times[2] = {fileTimeToTimespec(item.accessTime), fileTimeToTimespec(item.writeTime)};
        futimens(fd, times);
    }
    closeEntry();
    return r;
}

int ensureDirectory(const char *base, const char *path)
{
    const QByteArray p(path ? path : "");
    if (!base) {
        if (!p.isEmpty() && !QDir().mkpath(QFile::decodeName(p)))
            return -1;
        return ::open(p.isEmpty() ? "." : p.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    const QByteArray b(base);
    if (b.size() + p.size() >= PATH_MAX)
        return -1;
    ::mkdir(b.constData(), 0777);
    int dirFd = ::open(b.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const QByteArray &folder : safeComponents(p)) {
        if (dirFd < 0)
            break;
        if (::mkdirat(dirFd, folder.constData(), 0777) != 0 && errno != EEXIST) {
            ::close(dirFd);
            return -1;
        }
        const int next = ::openat(dirFd, folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(dirFd);
        dirFd = next;
    }
    return dirFd;
}

// Relative destinations are walked below the base directory one folder at a time, never through
// a symbolic link, and a file is saved as every saved file is (platform/filesave.h): it replaces
// its target only once the whole entry checked out.
ZipResult ZipReader::extractToPath(const char *destination, const ZipItem &item)
{
    const bool isDirectory = item.attributes & ZipAttrDirectory;
    const QByteArray dest(destination);
    int dirFd = -1;
    QByteArray fileName;

    if (dest.startsWith('/')) {
        const int slash = dest.lastIndexOf('/');
        fileName = dest.mid(slash + 1);
        if (!isDirectory && (fileName.isEmpty() || fileName == "." || fileName == ".."))
            return ZipCannotOpen;
        dirFd = ensureDirectory(nullptr, (isDirectory ? dest : dest.left(slash + 1)).constData());
        if (dirFd < 0)
            return ZipCannotOpen;
    } else {
        QList<QByteArray> folders = safeComponents(dest);
        if (!isDirectory) {
            if (folders.isEmpty())
                return ZipCannotOpen;
            fileName = folders.takeLast();
        }
        dirFd = ensureDirectory(m_baseDirectory.constData(), folders.join('/').constData());
        if (dirFd < 0)
            return ZipCannotOpen;
    }
    if (isDirectory) {
        ::close(dirFd);
        return ZipOk;
    }

    // A read-only file or a folder in the way is not replaced.
    struct stat st;
    if (::fstatat(dirFd, fileName.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0
        && (S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)))) {
        ::close(dirFd);
        return ZipCannotOpen;
    }
    // A name the folder cannot hold is refused before anything is written.
    if (fileName.size() > NAME_MAX) {
        ::close(dirFd);
        return ZipCannotOpen;
    }
    const mode_t mode = replacementMode(QString()) & ((item.attributes & ZipAttrReadOnly) ? 0444 : 0666);
    ZipResult r = ZipOk;
    {
        FileSave out(dirFd, fileName, mode);
        if (!out.open())
            r = ZipCannotOpen;
        if (r == ZipOk)
            r = extractEntry(item, out.descriptor(), [&out](const char *data, quint64 n) {
                return out.write(data, qint64(n)) ? ZipOk : ZipWriteFailed;
            });
        if (r == ZipOk && !out.commit())
            r = ZipWriteFailed;
    }
    ::close(dirFd);
    return r;
}

ZipResult ZipReader::close()
{
    closeEntry();
    if (m_archive)
        ZipSource::close(m_archive);
    m_archive = nullptr;
    m_entries.clear();
    m_cachedIndex = -1;
    return ZipOk;
}

// Handle-level interface -------------------------------------------------------------------------

namespace {

ZipResult withReader(ZipHandle *handle, const std::function<ZipResult(ZipReader *)> &operation)
{
    if (!handle)
        return lastReaderResult = ZipBadArguments;
    if (handle->kind != ZipHandle::Reader)
        return lastReaderResult = ZipMixedHandle;
    return lastReaderResult = operation(static_cast<ZipReader *>(handle->object));
}

} // namespace

ZipHandle *openZipArchive(const void *target, quint64 length, int kind, const char *password)
{
    auto *reader = new ZipReader(password);
    lastReaderResult = reader->open(target, length, kind);
    if (lastReaderResult != ZipOk) {
        delete reader;
        return nullptr;
    }
    return new ZipHandle{ZipHandle::Reader, reader};
}

ZipHandle *openZipHandle(int fd, const char *password) { return openZipArchive(zipFd(fd), 0, ZipKindHandle, password); }
ZipHandle *openZipFile(const char *fileName, const char *password)
{
    return openZipArchive(fileName, 0, ZipKindPath, password);
}
ZipHandle *openZipMemory(const void *block, quint64 length, const char *password)
{
    return openZipArchive(block, length, ZipKindMemory, password);
}

ZipResult getZipItem(ZipHandle *handle, int index, ZipItem *item)
{
    return withReader(handle, [&](ZipReader *r) { return item ? r->getItem(index, item) : ZipBadArguments; });
}

ZipResult findZipItem(ZipHandle *handle, const char *name, bool ignoreCase, int *index, ZipItem *item)
{
    return withReader(handle, [&](ZipReader *r) { return r->findItem(name, ignoreCase, index, item); });
}

ZipResult setUnzipBaseDirectory(ZipHandle *handle, const char *directory)
{
    return withReader(handle, [&](ZipReader *r) { return r->setBaseDirectory(directory); });
}

ZipResult unzipItem(ZipHandle *handle, int index, const void *destination, quint64 length, int kind)
{
    return withReader(handle, [&](ZipReader *r) { return r->extractItem(index, destination, length, kind); });
}

ZipResult unzipItem(ZipHandle *handle, int index, int fd) { return unzipItem(handle, index, zipFd(fd), 0, ZipKindHandle); }
ZipResult unzipItem(ZipHandle *handle, int index, const char *path)
{
    return unzipItem(handle, index, path, 0, ZipKindPath);
}
ZipResult unzipItem(ZipHandle *handle, int index, void *block, quint64 length)
{
    return unzipItem(handle, index, block, length, ZipKindMemory);
}

ZipResult closeZipReader(ZipHandle *handle)
{
    const ZipResult r = withReader(handle, [](ZipReader *reader) { return reader->close(); });
    if (handle && handle->kind == ZipHandle::Reader) {
        delete static_cast<ZipReader *>(handle->object);
        delete handle;
    }
    return r;
}

bool isZipReaderHandle(const ZipHandle *handle) { return handle && handle->kind == ZipHandle::Reader; }

int zipReaderMessage(ZipResult code, char *buffer, unsigned capacity)
{
    return copyZipResultText(code == ZipLastResult ? lastReaderResult : code, false, buffer, capacity);
}

ZipResult ExtractZipArchive(const char *archivePath, const char *directory)
{
    ZipHandle *handle = openZipFile(archivePath, ZipArchivePassword);
    if (!handle)
        return lastReaderResult;
    ZipResult first = setUnzipBaseDirectory(handle, directory);
    ZipItem item;
    getZipItem(handle, -1, &item);
    const int count = first == ZipOk ? item.index : 0;
    // An archive without items extracted nothing the caller asked for.
    if (first == ZipOk && count == 0)
        first = ZipNotFound;
    for (int i = 0; i < count; ++i) {
        ZipResult r = getZipItem(handle, i, &item);
        if (r == ZipOk)
            r = unzipItem(handle, i, static_cast<const char *>(item.name));
        if (r != ZipOk && first == ZipOk)
            first = r;
    }
    closeZipReader(handle);
    return first;
}
