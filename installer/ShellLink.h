#pragma once
// A shell link (.lnk) held through IShellLinkW and its IPersistFile. The calling thread must have
// COM initialised (ScopedCoInitialize) for as long as the object lives. Every operation reports success
// as a boolean; a failed one leaves the file on disk and the object's other settings unchanged.

#include <windows.h>
#include <shobjidl.h>

#include <string>

#include "ComSupport.h"

class ShellLink {
public:
    // An in-process CLSID_ShellLink; check valid(). hasPersistFile() tells whether saving and
    // loading are possible.
    ShellLink();
    ShellLink(ShellLink&&) noexcept = default;
    ShellLink& operator=(ShellLink&&) noexcept = default;

    bool valid() const { return static_cast<bool>(m_link); }
    bool hasPersistFile() const { return static_cast<bool>(m_file); }

    bool load(const std::wstring& file);
    // Saves with the remember flag set: the file becomes the link's current file.
    bool save(const std::wstring& file);

    bool setPath(const std::wstring& target);
    bool setWorkingDirectory(const std::wstring& folder);
    bool setIconLocation(const std::wstring& icon, int index);

    // Empty when the link has no such setting or the call fails.
    std::wstring path() const;  // GetPath with SLGP_UNCPRIORITY, 260 characters
    std::wstring workingDirectory() const;
    std::wstring arguments() const;
    std::wstring iconLocation(int* index) const;

private:
    ComPtr<IShellLinkW> m_link;
    ComPtr<IPersistFile> m_file;
};
