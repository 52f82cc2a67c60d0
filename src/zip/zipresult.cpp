#include "zip/zipresult.h"

#include <cstring>

const char *zipResultText(ZipResult code, bool writerTable)
{
    switch (code) {
    case ZipOk: return "Success";
    case ZipDuplicateHandle: return "Culdn't duplicate handle";
    case ZipCannotOpen: return "Couldn't create/open file";
    case ZipNoMemory: return "Failed to allocate memory";
    case ZipWriteFailed: return "Error writing to file";
    case ZipNotFound: return "File not found in the zipfile";
    case ZipMoreData: return "Still more data to unzip";
    case ZipCorrupt: return "Zipfile is corrupt or not a zipfile";
    case ZipReadFailed: return "Error reading file";
    case ZipPassword: return writerTable ? "unknown zip result code" : "Correct password required";
    case ZipBadArguments: return "Caller: faulty arguments";
    case ZipNotMemoryArchive: return "Caller: can only get memory of a memory zipfile";
    case ZipMemoryTooSmall: return "Caller: not enough space allocated for memory zipfile";
    case ZipPreviousError: return "Caller: there was a previous error";
    case ZipAlreadyEnded: return "Caller: additions to the zip have already been ended";
    case ZipSizeMismatch: return "Zip-bug: the anticipated size turned out wrong";
    case ZipAlreadyUnzipping: return "Caller: the file had already been partially unzipped";
    case ZipMixedHandle: return "Caller: mixing creation and opening of zip";
    case ZipNotInitialised: return "Zip-bug: internal initialisation not completed";
    case ZipCannotSeek: return "Zip-bug: trying to seek the unseekable";
    case ZipCannotChange: return "Zip-bug: tried to change mind, but not allowed";
    case ZipFlationError: return "Zip-bug: an internal error during flation";
    default: return "unknown zip result code";
    }
}

int copyZipResultText(ZipResult code, bool writerTable, char *buffer, unsigned capacity)
{
    const char *text = zipResultText(code, writerTable);
    const size_t length = std::strlen(text);
    if (buffer && capacity) {
        const size_t n = length < capacity - 1 ? length : capacity - 1;
        std::memcpy(buffer, text, n);
        buffer[n] = '\0';
    }
    return int(length);
}
