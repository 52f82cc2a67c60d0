#pragma once

// Where the reader takes archive bytes from: an open file descriptor, a file it opens by name,
// or a memory block. Positions are 64-bit and every read is clamped to what the source holds.

#include "zip/zipresult.h"

#include <QtGlobal>

class ZipSource {
public:
    // kind 1: target is zipFd(fd); 2: a NUL-terminated path; 3: a memory block of length bytes.
    static ZipSource *open(const void *target, quint64 length, int kind, ZipResult *result);
    static int close(ZipSource *source);

    // Whole items of size bytes read.
    quint64 read(void *buffer, quint64 size, quint64 count);
    // 0, 19 for an unknown origin, 29 when the descriptor cannot seek.
    int seek(qint64 offset, int origin);
    quint64 tell() const;
    int error() const { return readFailed ? 1 : 0; }

    // Reads exactly n bytes at pos relative to the archive's start; false on a short read.
    bool readAt(quint64 pos, void *buffer, quint64 n);
    quint64 size() const;

private:
    ZipSource() = default;

    bool isHandle = false;
    bool canSeek = true;
    int handle = -1;
    bool readFailed = false;
    quint64 startOffset = 0;
    bool mustClose = false;
    const uchar *block = nullptr;
    quint64 length = 0;
    quint64 position = 0;
};
