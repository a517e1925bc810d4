#pragma once
// Owners for COM: an interface pointer released once, and a per-thread CoInitialize that is
// balanced by CoUninitialize only when it succeeded.

#include <objbase.h>

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : m_ptr(other.m_ptr) { other.m_ptr = nullptr; }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_ptr = other.m_ptr;
            other.m_ptr = nullptr;
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const noexcept { return m_ptr; }
    T* operator->() const noexcept { return m_ptr; }
    explicit operator bool() const noexcept { return m_ptr != nullptr; }
    void reset() noexcept
    {
        if (m_ptr)
            m_ptr->Release();
        m_ptr = nullptr;
    }
    // Address for out-parameters of creating calls; releases what was held before.
    T** put() noexcept
    {
        reset();
        return &m_ptr;
    }

private:
    T* m_ptr = nullptr;
};

class ScopedCoInitialize {
public:
    ScopedCoInitialize() noexcept : m_result(CoInitialize(nullptr)) {}
    ~ScopedCoInitialize()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ScopedCoInitialize(const ScopedCoInitialize&) = delete;
    ScopedCoInitialize& operator=(const ScopedCoInitialize&) = delete;

    HRESULT result() const noexcept { return m_result; }

private:
    HRESULT m_result;
};
