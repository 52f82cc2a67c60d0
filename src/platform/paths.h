#pragma once

#include <QString>

#include <sys/types.h>

// Paths are written the Windows way throughout the program (g_appDir + "InvParameter\\x.xml").
// This is the one place where such a path becomes one the file system takes: every backslash
// becomes "/", names keep their spelling and case.
QString localPath(const QString &windowsPath);

// The permission bits for a file that replaces `path`: the old file's when there is one, else
// those a newly created file gets under the process's umask.
mode_t replacementMode(const QString &path);
