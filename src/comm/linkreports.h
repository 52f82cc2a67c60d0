#pragma once

// What the protocol objects have to tell the user, and the one request the shell makes of them.
// The shell installs its reports at start; tests install a recorder. With none installed a failure
// shows nothing and no log line is written.

#include <QString>

// The messages a failure shows, as indexes into the shell's message table.
namespace LinkMessage {
enum : int {
    Unlisted = -1, // a refusal code the table has no text for: shown as CommunicationError
    CommunicationError = 8, // "Communication Error!"
    ParityError = 9,
    IllegalFunction = 10,
    SumCheckError = 11,
    IllegalDataAddress = 12,
    ProtocolError = 13,
    IllegalDataValue = 14,
    FrameError = 15,
    OverflowError = 16,
    AbnormalPattern = 17,
    CommandCodeError = 18,
    RangeError = 19,
};
} // namespace LinkMessage

class LinkReports {
public:
    virtual ~LinkReports() = default;

    // The error box with the message of that index; safe from any thread.
    virtual void reportError(int index) = 0;
    // The same box with a line that names what failed.
    virtual void reportErrorAbout(int index, const QString &subject)
    {
        (void)subject;
        reportError(index);
    }
    // The link is lost: the connection button shows "Off-Line"; safe from any thread.
    virtual void reportOffline() = 0;
    // One line of the operation log; safe from any thread.
    virtual void appendLog(const QString &line) = 0;
    // A warning box; GUI thread only.
    virtual void warn(const QString &title, const QString &text) = 0;
    // A request waits for the drive's restart to end (true), or has done waiting; from any thread.
    virtual void restartWait(bool) {}

    // While set, the character protocol selects the page again before its next access; a
    // selection that succeeds clears it.
    virtual bool pageSelectForced() const = 0;
    virtual void clearPageSelectForced() = 0;
};

// Installs the reports every protocol object uses from then on; null removes them.
void installLinkReports(LinkReports *reports);
LinkReports *linkReports();
