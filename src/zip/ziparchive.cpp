#include "zip/ziparchive.h"

#include <QFile>
#include <climits>
#include <unistd.h>

namespace {
constexpr quint64 ReadChunk = 1 << 20;
}

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

QStringList ZipArchiveReader::names()
{
    QStringList out;
    if (!m_reader)
        return out;
    for (int i = 0; i < m_reader->itemCount(); ++i)
        out.append(QFile::decodeName(m_reader->storedName(i)));
    return out;
}

ZipResult ZipArchiveReader::read(const QString &name, QByteArray *data, bool ignoreCase)
{
    data->clear();
    if (!m_reader)
        return ZipNotInitialised;
    int index = -1;
    ZipItem item;
    if (ZipResult r = m_reader->findItem(QFile::encodeName(name).constData(), ignoreCase, &index, &item))
        return r;
    if (item.uncompressedSize > qint64(INT_MAX) - 1)
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
