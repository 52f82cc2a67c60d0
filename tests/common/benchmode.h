#pragma once

// The benchmarks run in the suite too, each on its shortest row and without its figures, so that none
// can break unseen; TAVIRON_BENCH=1 runs every row and prints them.

#include <QLoggingCategory>

// True with TAVIRON_BENCH=1; otherwise the figures, which are qInfo's, are silenced from then on.
inline bool fullBench()
{
    if (qEnvironmentVariable("TAVIRON_BENCH") == QLatin1String("1"))
        return true;
    QLoggingCategory::setFilterRules(QStringLiteral("default.info=false"));
    return false;
}
