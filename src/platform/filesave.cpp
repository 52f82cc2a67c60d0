#include "platform/filesave.h"

#include "platform/paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::atomic<int> failingStep { int(SaveStep::None) };
std::atomic<int> failingError { 0 };

// The error the test seam injects at this step, else 0.
int injected(SaveStep step)
{
    return failingStep.load() == int(step) ? failingError.load() : 0;
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

void failSaveStepForTest(SaveStep step, int error)
{
    failingError = error;
    failingStep = int(step);
}

FileSave::FileSave(int folderFd, const QByteArray &name, mode_t mode)
    : m_folder(folderFd)
    , m_name(name)
    , m_mode(mode)
{
}

FileSave::~FileSave()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_temporary.isEmpty())
        ::unlinkat(m_folder, m_temporary.constData(), 0);
}

bool FileSave::fail(int error)
{
    m_error = errorText(error);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlinkat(m_folder, m_temporary.constData(), 0);
    m_temporary.clear();
    return false;
}

bool FileSave::open()
{
    if (m_name.isEmpty() || m_name.contains('/'))
        return fail(EINVAL);
    // Hidden and within the name length limit; the random part keeps two saves from meeting.
    const QByteArray stem = "." + m_name.left(200) + ".";
    for (int attempt = 0; attempt < 16 && m_fd < 0; ++attempt) {
        m_temporary = stem + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        m_fd = ::openat(m_folder, m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        const int error = errno;
        m_temporary.clear();
        return fail(error);
    }
    if (::fchmod(m_fd, m_mode) != 0)
        return fail(errno);
    return true;
}

bool FileSave::write(const char *data, qint64 size)
{
    if (m_fd < 0)
        return fail(EBADF);
    if (const int error = injected(SaveStep::Write))
        return fail(error);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        data += n;
        size -= n;
    }
    return true;
}

bool FileSave::commit()
{
    if (m_fd < 0)
        return fail(EBADF);
    // On disk before it takes the old file's name, so a crash cannot leave an empty file there.
    if (const int error = injected(SaveStep::Sync))
        return fail(error);
    if (::fsync(m_fd) != 0)
        return fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(errno);
    if (const int error = injected(SaveStep::Flush))
        return fail(error);
    if (const int error = injected(SaveStep::Rename))
        return fail(error);
    if (::renameat(m_folder, m_temporary.constData(), m_folder, m_name.constData()) != 0)
        return fail(errno);
    m_committed = true;
    // The new name on disk too; a file system that cannot sync a folder has nothing to lose here.
    ::fsync(m_folder);
    return true;
}

bool saveFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    QFileInfo target(path);
    if (target.isSymLink() && target.exists())
        target = QFileInfo(target.canonicalFilePath());
    if (target.exists() && !target.isFile())
        return fail(QCoreApplication::translate("Workbook", "It is not a regular file"));
    // A write-protected file is the user's word that it stays as it is.
    if (target.exists() && ::access(QFile::encodeName(target.absoluteFilePath()).constData(), W_OK) != 0)
        return fail(errorText(errno));
    const int folder = ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return fail(errorText(errno));
    bool saved = false;
    {
        FileSave out(folder, QFile::encodeName(target.fileName()), replacementMode(target.absoluteFilePath()));
        saved = out.open() && out.write(bytes.constData(), bytes.size()) && out.commit();
        if (!saved)
            fail(out.errorString());
    }
    ::close(folder);
    return saved;
}
