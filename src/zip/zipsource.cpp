#include "zip/zipsource.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

ZipSource *ZipSource::open(const void *target, quint64 length, int kind, ZipResult *result)
{
    *result = ZipOk;
    if (kind == ZipKindHandle || kind == ZipKindPath) {
        int fd;
        bool mustClose = false;
        if (kind == ZipKindPath) {
            fd = target ? ::open(static_cast<const char *>(target), O_RDONLY | O_CLOEXEC) : -1;
            if (fd < 0) {
                *result = ZipCannotOpen;
                return nullptr;
            }
            mustClose = true;
        } else {
            fd = zipFdOf(target);
        }
        auto *s = new ZipSource;
        s->isHandle = true;
        s->handle = fd;
        s->mustClose = mustClose;
        const off_t here = ::lseek(fd, 0, SEEK_CUR);
        s->canSeek = here >= 0;
        s->startOffset = (s->canSeek && !mustClose) ? quint64(here) : 0;
        return s;
    }
    if (kind == ZipKindMemory) {
        auto *s = new ZipSource;
        s->block = static_cast<const uchar *>(target);
        s->length = target ? length : 0;
        return s;
    }
    *result = ZipBadArguments;
    return nullptr;
}

int ZipSource::close(ZipSource *source)
{
    if (!source)
        return -1;
    if (source->mustClose)
        ::close(source->handle);
    delete source;
    return 0;
}

quint64 ZipSource::read(void *buffer, quint64 size, quint64 count)
{
    if (size == 0)
        return 0;
    quint64 request = size * count;
    if (isHandle) {
        quint64 done = 0;
        while (done < request) {
            const ssize_t n = ::read(handle, static_cast<char *>(buffer) + done, request - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                readFailed = true;
            if (n <= 0)
                break;
            done += quint64(n);
        }
        return done / size;
    }
    // The position may lie past the end after a seek; nothing is left to read there.
    const quint64 left = position < length ? length - position : 0;
    if (request > left)
        request = left;
    if (request)
        std::memcpy(buffer, block + position, request);
    position += request;
    return request / size;
}

int ZipSource::seek(qint64 offset, int origin)
{
    if (isHandle) {
        if (!canSeek)
            return 29;
        off_t r;
        switch (origin) {
        case 0: r = ::lseek(handle, off_t(startOffset) + offset, SEEK_SET); break;
        case 1: r = ::lseek(handle, offset, SEEK_CUR); break;
        case 2: r = ::lseek(handle, offset, SEEK_END); break;
        default: return 19;
        }
        return r < 0 ? 19 : 0;
    }
    switch (origin) {
    case 0: position = quint64(offset); break;
    case 1: position += quint64(offset); break;
    case 2: position = length + quint64(offset); break;
    default: break;
    }
    return 0;
}

quint64 ZipSource::tell() const
{
    if (!isHandle)
        return position;
    if (!canSeek)
        return 0;
    const off_t here = ::lseek(handle, 0, SEEK_CUR);
    return here < off_t(startOffset) ? 0 : quint64(here) - startOffset;
}

bool ZipSource::readAt(quint64 pos, void *buffer, quint64 n)
{
    if (pos > quint64(std::numeric_limits<qint64>::max()) || seek(qint64(pos), 0) != 0)
        return false;
    return n == 0 || read(buffer, n, 1) == 1;
}

quint64 ZipSource::size() const
{
    if (!isHandle)
        return length;
    if (!canSeek)
        return 0;
    const off_t here = ::lseek(handle, 0, SEEK_CUR);
    const off_t end = ::lseek(handle, 0, SEEK_END);
    ::lseek(handle, here, SEEK_SET);
    return end < off_t(startOffset) ? 0 : quint64(end) - startOffset;
}
