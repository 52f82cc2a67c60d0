#pragma once

// The shell's side of the protocol objects' reports: boxes, the connection button and the page flag
// of the main window (when there is one), lines to Operation_log.txt; and the data-file lines the
// readers pass over, logged.

// Installs them; the start-up and the main window call this, so the protocol objects report here
// from the first exchange on.
void installShellReports();
