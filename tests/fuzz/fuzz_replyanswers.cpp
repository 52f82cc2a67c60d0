// The reply check that decides what the link takes as an answer: the first byte picks the protocol and
// the expected length, the second the request's length; then the request and the reply, each in a buffer
// of exactly its size, so a read past what arrived is caught.

#include "comm/frames.h"

#include <QByteArray>

#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int protocol = data[0] % 3;
    const int expected = data[0] / 3;
    const size_t requestLength = qMin<size_t>(data[1], size - 2);
    const QByteArray request(reinterpret_cast<const char *>(data + 2), int(requestLength));
    const size_t count = size - 2 - requestLength;
    std::unique_ptr<char[]> reply(new char[count]);
    if (count > 0)
        std::memcpy(reply.get(), data + 2 + requestLength, count);
    if (!frames::replyAnswers(protocol, request, reply.get(), int(count), expected))
        return 0;
    // Whatever else it lets through, a reply from another station never answers.
    const bool sameStation = protocol == 1 ? reply[0] == request.at(0)
                                           : reply[1] == request.at(1) && reply[2] == request.at(2);
    if (!sameStation)
        std::abort();
    return 0;
}
