#pragma once

// Hand-over points ThreadSanitizer cannot see by itself: Qt is not built with it, so a QSemaphore
// or a QThread::wait() orders two threads without the sanitizer knowing. Each release is matched
// by an acquire on the same address; outside a -DTAVIRON_TSAN=ON build both compile to nothing.

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
inline void tsanRelease(const void *address) { __tsan_release(const_cast<void *>(address)); }
inline void tsanAcquire(const void *address) { __tsan_acquire(const_cast<void *>(address)); }
#else
inline void tsanRelease(const void *) {}
inline void tsanAcquire(const void *) {}
#endif
