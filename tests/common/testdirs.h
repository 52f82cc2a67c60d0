#pragma once

// Where the tests find the sources, the built program's folder and the simulated drive.
#include <QString>

inline QString sourceDir() { return QStringLiteral(TAVIRON_SOURCE_DIR); }
inline QString binDir() { return QStringLiteral(TAVIRON_BIN_DIR); }
inline QString drivesimPath() { return QStringLiteral(TAVIRON_DRIVESIM); }
