#pragma once

// Every file the program saves goes through here: documents, parameter lists, exports, reports,
// pictures, the trimmed operation log, the association files and the update's items. A file is
// written under a temporary name beside its target with write(2) (no buffer whose late flush could
// fail unseen), fsync'd, closed and renamed over the target, each step checked; any failure removes
// the temporary file and leaves an old file of that name byte for byte as it was. reason gets the
// file system's word for the failure, which the caller shows as "Cannot write file %1:\n%2.".
//
//     QString reason;
//     if (!saveFile(path, bytes, &reason))
//         warn(tr("Cannot write file %1:\n%2.").arg(path, reason));
//
// A symbolic link at path is followed: the file it names is replaced and the link stays.

#include <QByteArray>
#include <QString>

#include <sys/types.h>

bool saveFile(const QString &path, const QByteArray &bytes, QString *reason);

// The same in pieces, for data too large to hold whole (the update's items), within a folder
// the caller has open; a link at name is replaced, never followed.
//     FileSave out(folderFd, "FNC.txt", 0644);
//     bool ok = out.open() && out.write(data, n) && out.commit();
class FileSave
{
public:
    FileSave(int folderFd, const QByteArray &name, mode_t mode);
    ~FileSave(); // removes the temporary file unless committed
    FileSave(const FileSave &) = delete;
    FileSave &operator=(const FileSave &) = delete;

    bool open();
    bool write(const char *data, qint64 size);
    // fsync, close, rename over the target.
    bool commit();
    // The temporary file while open (to set its times).
    int descriptor() const { return m_fd; }
    QString errorString() const { return m_error; }

private:
    bool fail(int error);

    int m_folder;
    QByteArray m_name;
    QByteArray m_temporary;
    mode_t m_mode;
    int m_fd = -1;
    bool m_committed = false;
    QString m_error;
};

// Tests: the step at which every following save fails with the given error, as on a full disk or a
// file system that fails late. Flush is the close, where such a file system reports a lost write.
enum class SaveStep { None, Write, Flush, Sync, Rename };
void failSaveStepForTest(SaveStep step, int error);
