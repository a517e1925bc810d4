#pragma once
// Process-wide toolkit singletons: built on first use, installed with a compare-and-swap on the
// instance pointer (a caller that loses the race deletes the copy it built) and destroyed at
// process exit, in reverse order of creation.

#include <atomic>
#include <cstdlib>

template <typename T>
class LxSingleton {
public:
    static T* instance()
    {
        if (T* existing = s_instance.load(std::memory_order_acquire))
            return existing;
        T* created = new T();
        T* expected = nullptr;
        if (s_instance.compare_exchange_strong(expected, created, std::memory_order_acq_rel)) {
            std::atexit(&LxSingleton::destroy);
            return created;
        }
        delete created;
        return expected;
    }
    // The instance if it was built and not destroyed yet; never builds one.
    static T* existing() { return s_instance.load(std::memory_order_acquire); }
    static void destroy() { delete s_instance.exchange(nullptr, std::memory_order_acq_rel); }

private:
    static inline std::atomic<T*> s_instance{nullptr};
};
