#pragma once
// Installs the client's runtime libraries, which it ships as a shared side-by-side assembly in a
// folder of the install folder ("Microsoft.VC90.CRT": a ".manifest", a ".policy", catalogues and
// the DLLs).
//
// Windows XP and later: the manifest and then the publisher policy go into the system's assembly
// cache (CreateAssemblyCache of "sxs.dll", loaded from the system folder, IAssemblyCache::
// InstallAssembly), referenced by the client executable's path. When the cache reports the
// assembly as present but its folder below "<Windows>\WinSxs\" is left empty, that one empty
// folder is removed and the manifest installed once more; nothing else is ever removed.
// Windows 2000 and older: the folder's DLLs are copied into the system folder.
//
// Failures are logged and reported only through the return values; a failed call leaves the
// object as it was, apart from the loaded "sxs.dll", which stays loaded while the object lives.

#include <windows.h>
#include <fusion.h>

#include <string>
#include <utility>
#include <vector>

#include "UniqueResource.h"

// What an assembly manifest says about itself.
struct AssemblyIdentity {
    // Attributes of the root's "assemblyIdentity" children, in manifest order.
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    // "name" of the root's "file" children.
    std::vector<std::wstring> files;
};

class CInstallAssembly {
public:
    using InstallMethod = bool (*)(CInstallAssembly& self, const std::wstring& manifest, const std::wstring& policy,
                                   const std::wstring& exe);
    using CreateAssemblyCacheProc = HRESULT(WINAPI*)(IAssemblyCache** cache, DWORD reserved);

    // HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS), the cache's answer for an assembly it holds.
    static constexpr HRESULT kAlreadyExists = static_cast<HRESULT>(0x800700B7);

    // Chooses the install method from GetVersion() and logs the choice.
    CInstallAssembly();
    CInstallAssembly(const CInstallAssembly&) = delete;
    CInstallAssembly& operator=(const CInstallAssembly&) = delete;

    // 0: installed; 1: the installation failed; -1: the folder is not a directory or the executable
    // is not a file (nothing is loaded then). Stores both as full paths on success of the check.
    int installAsm(const std::wstring& folder, const std::wstring& exe);
    // Installs the first manifest with the first policy of the runtime folder; false when the
    // folder lacks either or the install method fails.
    bool Install();

    // The install methods. Only the manifest path matters to installByCopy.
    static bool installBySideBySideCache(CInstallAssembly& self, const std::wstring& manifest,
                                         const std::wstring& policy, const std::wstring& exe);
    static bool installByCopy(CInstallAssembly& self, const std::wstring& manifest, const std::wstring& policy,
                              const std::wstring& exe);
    // GetVersion() layout: major version in the lowest byte, minor in the next. Windows 2000 and
    // older copy; everything newer uses the assembly cache.
    static InstallMethod chooseInstallMethod(DWORD version);
    InstallMethod installMethod() const { return m_method; }

    // Reads the identity of a UTF-8 manifest (a leading byte-order mark is allowed). False for an
    // unreadable, empty, non-UTF-8 or malformed file, one without an identity, or one whose
    // identity gives no valid side-by-side folder name; identity then holds what could be read.
    static bool readAssemblyIdentity(const std::wstring& manifestPath, AssemblyIdentity* identity);
    // The name hash the system appends to assembly folder names; "*" values are left out.
    static unsigned long identityHash(const AssemblyIdentity& identity);
    // "<processorArchitecture>_<name>_<publicKeyToken>_<version>_<language>_<hash>". A missing
    // language is "x-ww"; any other missing part is "none" and makes the name invalid, and so does a
    // part that is not a plain file-name part (path separators, wildcards, ":").
    static std::wstring sideBySideFolderName(const AssemblyIdentity& identity, bool* valid = nullptr);
    // name,attr="value",... in manifest order, without "*" values.
    static std::wstring textualIdentity(const AssemblyIdentity& identity);

    // Test seams. The cache factory replaces loading "sxs.dll" (null: load it); the default one is
    // taken by every new object, so it reaches the runtime-assembly thread too. The folders end in
    // a backslash; by default they are the system and the Windows folder.
    void setCreateAssemblyCache(CreateAssemblyCacheProc create) { m_createCache = create; }
    static CreateAssemblyCacheProc setDefaultCreateAssemblyCache(CreateAssemblyCacheProc create);
    void setSystemFolder(const std::wstring& folder) { m_systemFolder = folder; }
    void setWindowsFolder(const std::wstring& folder) { m_windowsFolder = folder; }

    const std::wstring& runtimeFolder() const { return m_folder; }
    const std::wstring& clientExe() const { return m_exe; }

private:
    // "CreateAssemblyCache" of the seam or of "sxs.dll" (loaded on first use); null on failure.
    CreateAssemblyCacheProc cacheFactory();

    InstallMethod m_method;
    std::wstring m_exe;
    std::wstring m_folder;
    std::wstring m_systemFolder;
    std::wstring m_windowsFolder;
    CreateAssemblyCacheProc m_createCache;
    UniqueLibrary m_sxs;
};
