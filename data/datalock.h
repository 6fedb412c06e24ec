#ifndef DATALOCK_H
#define DATALOCK_H

#include <QMutex>

#if defined(__SANITIZE_THREAD__)
#define DATALOCK_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define DATALOCK_TSAN 1
#endif
#endif

#if defined(DATALOCK_TSAN)
#include <sanitizer/tsan_interface.h>
#endif

// Holds a QMutex for a scope. Qt's mutex lives in uninstrumented code, so
// under ThreadSanitizer the hand-off is announced explicitly; otherwise the
// sanitizer would see the data it guards as shared without order.
class DataLock
{
public:
    explicit DataLock(QMutex &mutex)
        : mutex(mutex)
    {
        mutex.lock();
#if defined(DATALOCK_TSAN)
        __tsan_acquire(&mutex);
#endif
    }

    ~DataLock()
    {
#if defined(DATALOCK_TSAN)
        __tsan_release(&mutex);
#endif
        mutex.unlock();
    }

    DataLock(const DataLock &) = delete;
    DataLock &operator=(const DataLock &) = delete;

private:
    QMutex &mutex;
};

#endif // DATALOCK_H
