#pragma once
// Owners for COM: an interface pointer released once, and the per-thread COM initialisation that
// each shell operation brackets its work with.

#include <objbase.h>

#include "UniqueResource.h"

template <typename Interface>
struct ComReleaseTraits {
    static Interface* invalid() noexcept { return nullptr; }
    static void close(Interface* p) noexcept { p->Release(); }
};

// ComPtr<IShellLinkW> link; CoCreateInstance(..., reinterpret_cast<void**>(link.put()));
template <typename Interface>
using ComPtr = UniqueResource<Interface*, ComReleaseTraits<Interface>>;

// CoInitialize on construction; CoUninitialize on destruction only when the call succeeded
// (S_OK or S_FALSE), so that calls stay balanced on a thread that already runs another apartment.
class ComApartment {
public:
    ComApartment() noexcept : m_result(CoInitialize(nullptr)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool initialized() const noexcept { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};
