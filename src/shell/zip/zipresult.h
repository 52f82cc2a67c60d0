#pragma once

// Result codes shared by the zip archive reader and writer, and the handle both hand out.

#include <QtGlobal>

using ZipResult = quint32;

enum : ZipResult {
    ZipOk = 0,
    ZipDuplicateHandle = 0x100,
    ZipCannotOpen = 0x200,
    ZipNoMemory = 0x300,
    ZipWriteFailed = 0x400,
    ZipNotFound = 0x500,
    ZipMoreData = 0x600,
    ZipCorrupt = 0x700,
    ZipReadFailed = 0x800,
    ZipPassword = 0x1000,
    ZipBadArguments = 0x10000,
    ZipNotMemoryArchive = 0x20000,
    ZipMemoryTooSmall = 0x30000,
    ZipPreviousError = 0x40000,
    ZipAlreadyEnded = 0x50000,
    ZipSizeMismatch = 0x60000,
    ZipAlreadyUnzipping = 0x70000,
    ZipMixedHandle = 0x80000,
    ZipNotInitialised = 0x1000000,
    ZipCannotSeek = 0x2000000,
    ZipCannotChange = 0x4000000,
    ZipFlationError = 0x5000000,
};

// Code 1 given to a message function stands for that side's last result.
constexpr ZipResult ZipLastResult = 1;

struct ZipHandle {
    enum Kind { Reader = 1, Writer = 2 };
    int kind;
    void *object;
};

// The text of a code; the writer has no text for ZipPassword.
const char *zipResultText(ZipResult code, bool writerTable);
// Copies at most capacity - 1 characters and a terminator; returns the full text's length.
int copyZipResultText(ZipResult code, bool writerTable, char *buffer, unsigned capacity);

// Sources, inputs and outputs given by kind: 1 an open file descriptor (passed as zipFd(fd)),
// 2 a NUL-terminated path, 3 a memory block; the writer also knows 4, a folder entry.
enum ZipKind { ZipKindHandle = 1, ZipKindPath = 2, ZipKindMemory = 3, ZipKindFolder = 4 };
inline const void *zipFd(int fd) { return reinterpret_cast<const void *>(static_cast<intptr_t>(fd)); }
inline int zipFdOf(const void *target) { return static_cast<int>(reinterpret_cast<intptr_t>(target)); }
