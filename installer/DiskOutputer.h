#pragma once
// Writes archive items to disk. An item's first path component picks its root folder:
//   "InstallDir/x" -> <install path>x          "AppData/x" -> <setup cache of the install path>x
//   "TEMP/x"       -> <%TEMP%>\x              "HZH/x"     -> <AppData>\tenvale\zorvi\business\zorvipip\x
//   "x" (no separator) or "Other/x" -> <install path>x
// Item names that could leave their root folder or that the file system cannot hold are rejected
// before anything is written. A file that cannot be created (in use) is moved to "<name>.old" and
// created afresh, up to five times.

#include <string>

#include "ArchiveExtractor.h"

class ISetupControlSink;

class CDiskOutputer final : public IItemOutputer {
public:
    CDiskOutputer(const std::wstring& installPath, ISetupControlSink* sink, IStopQuery* stopQuery);

    bool accept(const std::wstring&) override { return true; }
    bool output(const std::wstring& name, bool isDir, const unsigned char* data, size_t size) override;
    bool canContinue() override { return true; }
    void onProgress(int index, int total) override;
    bool checkName(const std::wstring& name) override;

    // Target of an item ("\" or "/" separated); false for the root folder items themselves.
    bool mapItemPath(const std::wstring& name, std::wstring* target) const;
    // Whether the name is safe: no empty, "." or ".." component, no leading separator, no ":" or
    // control or wildcard character, no component ending in "." or " ", no device name.
    static bool isSafeItemName(const std::wstring& name);
    // Deletes "<path>.old" and moves the file there.
    static void renameToOld(const std::wstring& path);

private:
    bool _tryToDecompressItem(bool isDir, const unsigned char* data, size_t size, const std::wstring& path);

    std::wstring m_rootPath;
    std::wstring m_appDataRoot;
    std::wstring m_tempRoot;
    std::wstring m_hzhRoot;
    ISetupControlSink* m_sink;
    IStopQuery* m_stopQuery;
};
