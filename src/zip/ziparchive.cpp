#include "zip/ziparchive.h"

#include <QFile>
#include <climits>
#include <unistd.h>

namespace {
constexpr quint64 ReadChunk = 1 << 20;

// One entry read through the reader's memory extraction, a piece at a time. A piece that does not
// end the entry fills the block; the last one holds what the declared size leaves, which the
// reader has checked against the data and its CRC.
class ZipEntryDevice : public QIODevice {
public:
    ZipEntryDevice(ZipReader *reader, int index, quint64 size)
        : m_reader(reader)
        , m_index(index)
        , m_size(size)
    {
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_result != ZipMoreData)
            return -1;
        if (maxSize <= 0)
            return 0;
        m_result = m_reader->extractItem(m_index, data, quint64(maxSize), ZipKindMemory);
        quint64 got = 0;
        if (m_result == ZipMoreData) {
            got = quint64(maxSize);
        } else if (m_result == ZipOk) {
            got = m_size - m_delivered;
        } else {
            setErrorString(QString::fromLatin1(zipResultText(m_result, false)));
            return -1;
        }
        m_delivered += got;
        return got ? qint64(got) : -1;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    ZipReader *m_reader;
    int m_index;
    quint64 m_size;
    quint64 m_delivered = 0;
    ZipResult m_result = ZipMoreData;
};

} // namespace

ZipArchiveReader::ZipArchiveReader(const QByteArray &password)
    : m_password(password)
{
}

ZipArchiveReader::~ZipArchiveReader() = default;

void ZipArchiveReader::close()
{
    m_reader.reset();
    m_data.clear();
}

ZipResult ZipArchiveReader::openFile(const QString &path)
{
    close();
    auto reader = std::make_unique<ZipReader>(m_password.isNull() ? nullptr : m_password.constData());
    const QByteArray p = QFile::encodeName(path);
    if (ZipResult r = reader->open(p.constData(), 0, ZipKindPath))
        return r;
    m_reader = std::move(reader);
    return ZipOk;
}

ZipResult ZipArchiveReader::openData(const QByteArray &archive)
{
    close();
    m_data = archive;
    auto reader = std::make_unique<ZipReader>(m_password.isNull() ? nullptr : m_password.constData());
    if (ZipResult r = reader->open(m_data.constData(), quint64(m_data.size()), ZipKindMemory)) {
        m_data.clear();
        return r;
    }
    m_reader = std::move(reader);
    return ZipOk;
}

QVector<ZipItem> ZipArchiveReader::items()
{
    QVector<ZipItem> out;
    if (!m_reader)
        return out;
    ZipItem item;
    for (int i = 0; i < m_reader->itemCount(); ++i) {
        if (m_reader->getItem(i, &item) == ZipOk)
            out.append(item);
    }
    return out;
}

bool ZipArchiveReader::holdsSymbolicLink() const
{
    for (int i = 0; m_reader && i < m_reader->itemCount(); ++i) {
        if (m_reader->isSymbolicLink(i))
            return true;
    }
    return false;
}

bool ZipArchiveReader::passwordFits()
{
    for (int i = 0; m_reader && i < m_reader->itemCount(); ++i) {
        if (!m_reader->takesPassword(i))
            return false;
    }
    return m_reader != nullptr;
}

QStringList ZipArchiveReader::names()
{
    QStringList out;
    if (!m_reader)
        return out;
    for (int i = 0; i < m_reader->itemCount(); ++i)
        out.append(QFile::decodeName(m_reader->storedName(i)));
    return out;
}

ZipResult ZipArchiveReader::read(const QString &name, QByteArray *data, bool ignoreCase, qint64 maxSize)
{
    data->clear();
    if (!m_reader)
        return ZipNotInitialised;
    int index = -1;
    ZipItem item;
    if (ZipResult r = m_reader->findItem(QFile::encodeName(name).constData(), ignoreCase, &index, &item))
        return r;
    if (item.uncompressedSize > qint64(INT_MAX) - 1 || (maxSize >= 0 && item.uncompressedSize > maxSize))
        return ZipNoMemory;
    if (item.uncompressedSize == 0) {
        // An empty entry still has to be opened to check its password and CRC.
        char scratch;
        return m_reader->extractItem(index, &scratch, 1, ZipKindMemory);
    }
    // Chunk by chunk up to the declared size: a lying header cannot make us allocate more than
    // the entry really yields.
    const quint64 total = quint64(item.uncompressedSize);
    ZipResult r = ZipMoreData;
    while (r == ZipMoreData) {
        const quint64 done = quint64(data->size());
        const quint64 chunk = qMin(ReadChunk, total > done ? total - done : 1);
        data->resize(int(done + chunk));
        r = m_reader->extractItem(index, data->data() + done, chunk, ZipKindMemory);
    }
    if (r != ZipOk)
        data->clear();
    return r;
}

std::unique_ptr<QIODevice> ZipArchiveReader::openStream(
    const QString &name, ZipResult *result, bool ignoreCase, qint64 maxSize)
{
    *result = ZipNotInitialised;
    if (!m_reader)
        return nullptr;
    int index = -1;
    ZipItem item;
    if ((*result = m_reader->findItem(QFile::encodeName(name).constData(), ignoreCase, &index, &item)) != ZipOk)
        return nullptr;
    if (maxSize >= 0 && item.uncompressedSize > maxSize) {
        *result = ZipNoMemory;
        return nullptr;
    }
    auto device = std::make_unique<ZipEntryDevice>(m_reader.get(), index, quint64(item.uncompressedSize));
    device->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return device;
}

ZipResult ZipArchiveReader::extractAll(const QString &directory)
{
    if (!m_reader)
        return ZipNotInitialised;
    if (ZipResult r = m_reader->setBaseDirectory(QFile::encodeName(directory).constData()))
        return r;
    ZipResult first = ZipOk;
    ZipItem item;
    for (int i = 0; i < m_reader->itemCount(); ++i) {
        ZipResult r = m_reader->getItem(i, &item);
        if (r == ZipOk)
            r = m_reader->extractItem(i, item.name, 0, ZipKindPath);
        if (r != ZipOk && first == ZipOk)
            first = r;
    }
    return first;
}

ZipArchiveWriter::ZipArchiveWriter(const QByteArray &password)
    : m_password(password)
{
}

ZipArchiveWriter::~ZipArchiveWriter() = default;

ZipResult ZipArchiveWriter::create(const QString &path)
{
    auto writer = std::make_unique<ZipWriter>(m_password.isEmpty() ? nullptr : m_password.constData());
    if (ZipResult r = writer->create(QFile::encodeName(path).constData(), 0, ZipKindPath))
        return r;
    m_writer = std::move(writer);
    m_first = ZipOk;
    return ZipOk;
}

ZipResult ZipArchiveWriter::add(const QString &name, const QByteArray &data)
{
    if (!m_writer)
        return ZipNotInitialised;
    const QByteArray n = QFile::encodeName(name);
    if (data.isEmpty()) {
        // An empty memory block is refused as an input; an empty descriptor gives an empty entry.
        int fds[2];
        if (::pipe(fds) != 0)
            return ZipNoMemory;
        ::close(fds[1]);
        const ZipResult r = m_writer->add(n.constData(), zipFd(fds[0]), 0, ZipKindHandle);
        ::close(fds[0]);
        return r;
    }
    return m_writer->add(n.constData(), data.constData(), quint64(data.size()), ZipKindMemory);
}

ZipResult ZipArchiveWriter::addFile(const QString &name, const QString &path)
{
    if (!m_writer)
        return ZipNotInitialised;
    return m_writer->add(QFile::encodeName(name).constData(), QFile::encodeName(path).constData(), 0, ZipKindPath);
}

ZipResult ZipArchiveWriter::addFolder(const QString &name)
{
    if (!m_writer)
        return ZipNotInitialised;
    return m_writer->add(QFile::encodeName(name).constData(), nullptr, 0, ZipKindFolder);
}

ZipResult ZipArchiveWriter::close()
{
    if (!m_writer)
        return ZipNotInitialised;
    const ZipResult r = m_writer->close();
    m_writer.reset();
    return r;
}
