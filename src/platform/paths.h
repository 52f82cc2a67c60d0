#pragma once

#include <QString>

// Paths are written the Windows way throughout the program (g_appDir + "InvParameter\\x.xml").
// This is the one place where such a path becomes one the file system takes: every backslash
// becomes "/", names keep their spelling and case.
QString localPath(const QString &windowsPath);
