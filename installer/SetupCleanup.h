#pragma once
// Clean-up before the archive is written: the per-install-path caches, two stale single files, the
// files of the old client generation that kept everything in the install folder, and every version
// folder that the previous installation recorded in "Launcher.xml".
//
// Every step runs; failures of single deletions are not reported. Nothing outside the install
// folder and the data folder's caches of this install path is touched: version folder names that
// would leave the install folder are skipped.

#include <string>
#include <vector>

// Names of the old single-folder client's files (no folders).
extern const wchar_t* const oldClientFileList[143];

// installPath ends in a backslash.
void cleanUpFile(const std::wstring& installPath);
// Deletes each old client file in folder; one that cannot be deleted is moved to "<name>.old".
void cleanSingleDirectoryFiles(const std::wstring& folder);
// Existing version folders listed in installPath + "Launcher.xml"; true when there is one.
bool readLauncherVersionFolders(const std::wstring& installPath, std::vector<std::wstring>* folders);
// Empties and removes every folder readLauncherVersionFolders finds.
void cleanOldVersionFolders(const std::wstring& installPath);
// Whether a "zorviPath" value names a folder directly below the install folder.
bool isSafeVersionFolderName(const std::wstring& name);
