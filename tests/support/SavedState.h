#pragma once
// Guards for tests that must touch shared per-user places (HKCU keys the programs use, the desktop,
// the start menu): each guard records the state at construction and puts it back on destruction,
// removing exactly what did not exist before.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace test {

// A key below HKEY_CURRENT_USER. When it existed: its values are restored (values added since are
// deleted, changed ones rewritten; subkeys are not looked at). When it did not: the topmost missing
// key of its path is deleted with everything below it.
class SavedRegistryKey {
public:
    explicit SavedRegistryKey(const std::wstring& subKey);
    ~SavedRegistryKey();
    SavedRegistryKey(const SavedRegistryKey&) = delete;
    SavedRegistryKey& operator=(const SavedRegistryKey&) = delete;

private:
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::wstring m_subKey;
    std::wstring m_createdRoot;  // empty when the key existed
    std::vector<Value> m_values;
};

// Files (any path): contents restored, or the file deleted when it did not exist.
class SavedFiles {
public:
    explicit SavedFiles(std::vector<std::wstring> paths);
    ~SavedFiles();
    SavedFiles(const SavedFiles&) = delete;
    SavedFiles& operator=(const SavedFiles&) = delete;

private:
    struct File {
        std::wstring path;
        bool existed;
        std::string bytes;
    };
    std::vector<File> m_files;
};

// A folder (no trailing backslash needed): when it did not exist, it is removed with its contents;
// create() makes it (and its parents) now.
class SavedFolder {
public:
    explicit SavedFolder(const std::wstring& path);
    ~SavedFolder();
    SavedFolder(const SavedFolder&) = delete;
    SavedFolder& operator=(const SavedFolder&) = delete;
    bool create() const;

private:
    std::wstring m_path;
    std::wstring m_createdRoot;  // topmost missing folder of the path; empty when it existed
};

// Everything the installer writes for the current user outside its install and data folders: its
// own key, the uninstall entry, the Run key, the shortcut files, the programs group "Tenvale" and the
// favourites link. Saved on construction, put back on destruction. Tests that run the installer's
// post-install actions hold one, so that they leave the prefix as they found it.
class SavedInstallerFootprint {
public:
    SavedInstallerFootprint();
    ~SavedInstallerFootprint();
    SavedInstallerFootprint(const SavedInstallerFootprint&) = delete;
    SavedInstallerFootprint& operator=(const SavedInstallerFootprint&) = delete;

    // False when a shell folder could not be located (nothing of it is guarded then).
    bool complete() const;
    // Special folders of the current user, without trailing backslash.
    const std::wstring& desktop() const { return m_desktop; }
    const std::wstring& programs() const { return m_programs; }
    const std::wstring& startMenu() const { return m_startMenu; }
    const std::wstring& favourites() const { return m_favourites; }
    std::wstring group() const { return m_programs + L"\\Tenvale"; }
    std::wstring onDesktop(const wchar_t* name) const { return m_desktop + L"\\" + name + L".lnk"; }

private:
    std::wstring m_desktop, m_programs, m_startMenu, m_favourites;
    std::unique_ptr<SavedFolder> m_group;
    std::unique_ptr<SavedFiles> m_files;
    std::unique_ptr<SavedRegistryKey> m_zorviKey, m_uninstallKey, m_runKey;
};

} // namespace test
