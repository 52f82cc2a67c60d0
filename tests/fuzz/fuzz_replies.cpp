// The receivers' checks on replies of the three protocols: the first byte picks protocol, line end,
// the request's function (read or write) and expected length, the rest is the reply as it arrived (in a zero-filled buffer, as received).

#include "comm/frames.h"

#include <QByteArray>

using namespace frames;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t pick = data[0];
    QByteArray reply(reinterpret_cast<const char *>(data + 1), int(size - 1));
    // The receive buffer is zero-filled and holds at least the expected reply.
    reply.append(QByteArray(256, '\0'));
    const int count = int(size - 1);
    bool replyError = false;
    const quint8 function = (pick & 0x40) ? 0x06 : 0x03;
    if (pick & 0x80)
        checkBinaryReply(reply.constData(), count, int(pick & 0x3F), function, &replyError);
    else
        checkTextReply(pick % 3, reply.constData(), count, pick / 3 % 3, function, &replyError);
    return 0;
}
