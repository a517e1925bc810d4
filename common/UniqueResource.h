#pragma once
// Small move-only owners of native resources. Each owner closes its resource once, in its
// destructor or in reset(), and never copies it.

#include <windows.h>

template <typename T, typename Traits>
class UniqueResource {
public:
    UniqueResource() noexcept = default;
    explicit UniqueResource(T value) noexcept : m_value(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(UniqueResource&& other) noexcept : m_value(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    T get() const noexcept { return m_value; }
    bool valid() const noexcept { return m_value != Traits::invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    T release() noexcept
    {
        T value = m_value;
        m_value = Traits::invalid();
        return value;
    }
    void reset(T value = Traits::invalid()) noexcept
    {
        if (valid())
            Traits::close(m_value);
        m_value = value;
    }
    // Address for out-parameters of creating calls; drops what was held before.
    T* put() noexcept
    {
        reset();
        return &m_value;
    }

private:
    T m_value = Traits::invalid();
};

struct HandleTraits {
    static HANDLE invalid() noexcept { return nullptr; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::FindClose(h); }
};
struct RegKeyTraits {
    static HKEY invalid() noexcept { return nullptr; }
    static void close(HKEY k) noexcept { ::RegCloseKey(k); }
};
struct LibraryTraits {
    static HMODULE invalid() noexcept { return nullptr; }
    static void close(HMODULE m) noexcept { ::FreeLibrary(m); }
};

struct WindowTraits {
    static HWND invalid() noexcept { return nullptr; }
    static void close(HWND w) noexcept { ::DestroyWindow(w); }
};

using UniqueHandle = UniqueResource<HANDLE, HandleTraits>;          // threads, mutexes, processes
using UniqueFileHandle = UniqueResource<HANDLE, FileHandleTraits>;  // CreateFileW, snapshots
using UniqueFindHandle = UniqueResource<HANDLE, FindHandleTraits>;
using UniqueRegKey = UniqueResource<HKEY, RegKeyTraits>;
using UniqueLibrary = UniqueResource<HMODULE, LibraryTraits>;
using UniqueWindow = UniqueResource<HWND, WindowTraits>;           // windows of this thread
