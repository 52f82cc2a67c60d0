#include "comm/linkflags.h"

#include "comm/globals.h"

void resetLinkFlags()
{
    g_offLine = false;
    g_connectionTest = false;
    g_batchTransfer = false;
    g_quietRead = false;
    g_restartWait = false;
    g_restartQuiet.end();
    g_noValueFlag = false;
    g_signedFlag = false;
    g_replyError = false;
    g_zrPage = -1;
    g_failedParameters.clear();
}
