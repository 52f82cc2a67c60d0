#include "comm/linkreports.h"

#include <atomic>

namespace {

std::atomic<LinkReports *> installedReports { nullptr };

} // namespace

void installLinkReports(LinkReports *reports)
{
    installedReports = reports;
}

LinkReports *linkReports()
{
    return installedReports;
}
