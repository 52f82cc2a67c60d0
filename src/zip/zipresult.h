#pragma once

// Result codes shared by the zip archive reader and writer, and the handle both hand out.

#include <QtGlobal>

using ZipResult = quint32;

constexpr ZipResult ZipOk = 0;
constexpr ZipResult ZipDuplicateHandle = 0x100;
constexpr ZipResult ZipCannotOpen = 0x200;
constexpr ZipResult ZipNoMemory = 0x300;
constexpr ZipResult ZipWriteFailed = 0x400;
constexpr ZipResult ZipNotFound = 0x500;
constexpr ZipResult ZipMoreData = 0x600;
constexpr ZipResult ZipCorrupt = 0x700;
constexpr ZipResult ZipReadFailed = 0x800;
constexpr ZipResult ZipPassword = 0x1000;
constexpr ZipResult ZipBadArguments = 0x10000;
constexpr ZipResult ZipNotMemoryArchive = 0x20000;
constexpr ZipResult ZipMemoryTooSmall = 0x30000;
constexpr ZipResult ZipPreviousError = 0x40000;
constexpr ZipResult ZipAlreadyEnded = 0x50000;
constexpr ZipResult ZipSizeMismatch = 0x60000;
constexpr ZipResult ZipAlreadyUnzipping = 0x70000;
constexpr ZipResult ZipMixedHandle = 0x80000;
constexpr ZipResult ZipNotInitialised = 0x1000000;
constexpr ZipResult ZipCannotSeek = 0x2000000;
constexpr ZipResult ZipCannotChange = 0x4000000;
constexpr ZipResult ZipFlationError = 0x5000000;

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
