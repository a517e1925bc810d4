#pragma once
// The folders that must never be emptied recursively, whatever a command line or a record names.

#include <string>

// True when path (absolute or relative to the current folder; "/" or "\", any case, 8.3 names,
// "\\?\" prefixes) is a drive or share root, or is or holds one of the system's well-known folders:
// the Windows and system folders, both Program Files folders, the user profile, the desktop,
// documents, application-data and start-menu folders of the user and of all users, or the data
// folder "<AppData>\tenvale\zorvi". A folder that is a directory link counts with its target too.
// An empty path is protected. Creates nothing.
bool isProtectedFolder(const std::wstring& path);

// Full path of path with "\" separators and without a trailing one (a bare root keeps its "\"),
// long names where the file exists, without a "\\?\" prefix. Empty when it cannot be resolved.
std::wstring canonicalFolderPath(const std::wstring& path);
