#pragma once
// Folders and paths both programs share: the per-user data folder, the per-install-path cache
// folders below it (named by the MD5 digest of the normalised install path), the install-path test,
// free disk space, emptying a folder and finding a process's window.

#include <windows.h>

#include <string>

// "<AppData>\tenvale\zorvi\", created with its parents on every call.
std::wstring getDataFolder();
// Data folder + "setup\" + pathDigest(path) + "\", created with its parents.
std::wstring getSetupCacheFolder(const std::wstring& installPath);
// Data folder + "update\" + pathDigest(path) + "\"; only the data folder is created.
std::wstring getUpdateCacheFolder(const std::wstring& installPath);

// The path with a backslash at its end unless it already has one; an empty path stays empty.
std::wstring withBackslash(std::wstring path);

// Upper-case ASCII letters, "/" turned into "\", runs of "\" collapsed, none at either end.
std::wstring normalizePath(const std::wstring& path);
// 32 lower-case hex digits of the MD5 of the normalised path in the ANSI code page; "" for "".
std::wstring pathDigest(const std::wstring& path);

// Whether the path may be used as install folder: its drive answers GetDiskFreeSpaceExW and no
// component below the root is blank-only or holds / : * ? " < > |. Creates nothing.
bool isValidSetupPath(const std::wstring& path);
// Free megabytes available to the caller on the drive of the path's first 3 characters; 0 on failure.
double getFreeSpaceMB(const std::wstring& path);

// Deletes everything below folder, depth first, ignoring failures: read-only files stay, and so do
// the folders that still hold them. A directory link (junction or symbolic link) is removed as a
// link; what it points to is never entered. The folder itself stays.
void deleteFolderContents(const std::wstring& folder);

// The first top-level window (EnumWindows order) of the process whose class name equals className.
HWND findProcessWindow(DWORD processId, const wchar_t* className);
