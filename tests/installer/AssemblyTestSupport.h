#pragma once
// Shared pieces of the runtime-assembly tests: a private log file, the sample runtime folder and a
// scripted stand-in for the system's assembly cache.

#include <windows.h>
#include <fusion.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "InstallAssembly.h"
#include "UniqueResource.h"

namespace test {

// Sends the process-wide setup log to a file of its own while it lives; the previous file name is
// restored and the private file removed on destruction.
class ScopedLog {
public:
    ScopedLog();
    ~ScopedLog();
    ScopedLog(const ScopedLog&) = delete;
    ScopedLog& operator=(const ScopedLog&) = delete;
    std::wstring text() const;
    // How many lines contain the text.
    int count(const std::wstring& text) const;
    bool contains(const std::wstring& text) const { return count(text) > 0; }

private:
    std::wstring m_previous;
    std::wstring m_path;
};

// Copies the sample runtime folder ("Microsoft.VC90.CRT": manifest, publisher policy and three
// placeholder DLLs) into folder (ending in a backslash) and returns the copy's path, ending in a backslash.
std::wstring copySampleRuntime(const std::wstring& folder);
std::wstring sampleRuntimeFolder();

// Keeps every file of the system's assembly store ("<Windows>\WinSxS") whose path names the
// marker (case-insensitive) and puts the store back on destruction: files an install added are
// removed with their new folders, files it overwrote get their old content back.
class ScopedAssemblyStore {
public:
    explicit ScopedAssemblyStore(const wchar_t* marker);
    ~ScopedAssemblyStore();
    ScopedAssemblyStore(const ScopedAssemblyStore&) = delete;
    ScopedAssemblyStore& operator=(const ScopedAssemblyStore&) = delete;

private:
    std::vector<std::wstring> matching() const;

    std::wstring m_root;
    std::wstring m_marker;
    std::map<std::wstring, std::string> m_files;  // relative path -> content
    std::set<std::wstring> m_folders;            // relative folders holding them
};

// An assembly cache that answers InstallAssembly from a script and records every call. When a
// gate is set, each call first signals entered and then waits for the gate.
class FakeAssemblyCache final : public IAssemblyCache {
public:
    struct Call {
        std::wstring path;
        DWORD flags = 0;
        FUSION_INSTALL_REFERENCE reference = {};
        std::wstring identifier;
    };

    explicit FakeAssemblyCache(std::vector<HRESULT> answers = {});
    ~FakeAssemblyCache();

    // Where CInstallAssembly objects get their cache from while this fake is installed.
    static HRESULT WINAPI create(IAssemblyCache** cache, DWORD reserved);
    static HRESULT WINAPI createNothing(IAssemblyCache** cache, DWORD reserved);
    // Makes this fake the one that create() hands out.
    void install() { s_current = this; }

    // Blocks every InstallAssembly call on gate after signalling entered.
    void setGate(HANDLE entered, HANDLE gate)
    {
        m_entered = entered;
        m_gate = gate;
    }
    // A handle of the thread of the latest call (valid after a call).
    HANDLE callerThread() const { return m_caller.get(); }

    const std::vector<Call>& calls() const { return m_calls; }
    ULONG references() const { return m_references; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    HRESULT STDMETHODCALLTYPE UninstallAssembly(DWORD, LPCWSTR, LPCFUSION_INSTALL_REFERENCE, ULONG*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE QueryAssemblyInfo(DWORD, LPCWSTR, ASSEMBLY_INFO*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateAssemblyCacheItem(DWORD, PVOID, IAssemblyCacheItem**, LPCWSTR) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateAssemblyScavenger(IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InstallAssembly(DWORD flags, LPCWSTR manifest,
                                              LPCFUSION_INSTALL_REFERENCE reference) override;

private:
    static FakeAssemblyCache* s_current;
    std::vector<HRESULT> m_answers;
    std::vector<Call> m_calls;
    ULONG m_references = 0;
    HANDLE m_entered = nullptr;
    HANDLE m_gate = nullptr;
    UniqueHandle m_caller;
};

} // namespace test
