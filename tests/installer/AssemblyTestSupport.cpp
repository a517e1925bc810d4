#include "AssemblyTestSupport.h"

#include <shlobj.h>

#include <algorithm>
#include <cwctype>

#include "SetupLog.h"
#include "TestSupport.h"

namespace test {

ScopedLog::ScopedLog()
{
    static int serial = 0;
    const std::wstring& folder = setupLog().folder();
    m_previous = setupLog().filePath().substr(folder.size());
    const std::wstring name =
        L"assembly-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial) + L".log";
    m_path = folder + name;
    logSetFileName(name.c_str());
}

ScopedLog::~ScopedLog()
{
    logSetFileName(m_previous.c_str());
    logPrint(L"test log switched back");  // moves the open handle away from the private file
    DeleteFileW(m_path.c_str());
}

std::wstring ScopedLog::text() const
{
    return readUtf16File(m_path);
}

int ScopedLog::count(const std::wstring& what) const
{
    const std::wstring all = text();
    int found = 0;
    for (size_t at = all.find(what); at != std::wstring::npos; at = all.find(what, at + what.size()))
        ++found;
    return found;
}

std::wstring sampleRuntimeFolder()
{
    return binFolder() + L"fixtures\\Microsoft.VC90.CRT\\";
}

std::wstring copySampleRuntime(const std::wstring& folder)
{
    const std::wstring target = folder + L"Microsoft.VC90.CRT\\";
    CreateDirectoryW(target.c_str(), nullptr);
    for (const std::wstring& name : listFiles(sampleRuntimeFolder()))
        CopyFileW((sampleRuntimeFolder() + name).c_str(), (target + name).c_str(), FALSE);
    return target;
}

namespace {

std::wstring lowerCase(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

std::wstring parentOf(const std::wstring& path)
{
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

} // namespace

ScopedAssemblyStore::ScopedAssemblyStore(const wchar_t* marker) : m_marker(lowerCase(marker))
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    m_root = std::wstring(windows) + L"\\WinSxS\\";
    for (const std::wstring& file : matching()) {
        m_files[file] = readFile(m_root + file);
        for (std::wstring folder = parentOf(file); !folder.empty(); folder = parentOf(folder))
            m_folders.insert(folder);
    }
}

ScopedAssemblyStore::~ScopedAssemblyStore()
{
    std::set<std::wstring> added;
    for (const std::wstring& file : matching()) {
        if (m_files.count(file))
            continue;
        DeleteFileW((m_root + file).c_str());
        for (std::wstring folder = parentOf(file); !folder.empty() && !m_folders.count(folder); folder = parentOf(folder))
            added.insert(folder);
    }
    for (const auto& [file, content] : m_files) {
        if (readFile(m_root + file) != content) {
            SHCreateDirectoryExW(nullptr, (m_root + parentOf(file)).c_str(), nullptr);
            writeFile(m_root + file, content);
        }
    }
    // Deepest first, and only when empty.
    for (auto folder = added.rbegin(); folder != added.rend(); ++folder)
        RemoveDirectoryW((m_root + *folder).c_str());
}

std::vector<std::wstring> ScopedAssemblyStore::matching() const
{
    std::vector<std::wstring> files;
    for (const std::wstring& file : listFiles(m_root))
        if (lowerCase(file).find(m_marker) != std::wstring::npos)
            files.push_back(file);
    return files;
}

FakeAssemblyCache* FakeAssemblyCache::s_current = nullptr;

FakeAssemblyCache::FakeAssemblyCache(std::vector<HRESULT> answers) : m_answers(std::move(answers)) {}

FakeAssemblyCache::~FakeAssemblyCache()
{
    if (s_current == this)
        s_current = nullptr;
}

HRESULT WINAPI FakeAssemblyCache::create(IAssemblyCache** cache, DWORD)
{
    *cache = s_current;
    if (!s_current)
        return E_FAIL;
    s_current->AddRef();
    return S_OK;
}

HRESULT WINAPI FakeAssemblyCache::createNothing(IAssemblyCache** cache, DWORD)
{
    *cache = nullptr;
    return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
}

HRESULT STDMETHODCALLTYPE FakeAssemblyCache::QueryInterface(REFIID iid, void** object)
{
    if (iid == IID_IUnknown || iid == __uuidof(IAssemblyCache)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE FakeAssemblyCache::InstallAssembly(DWORD flags, LPCWSTR manifest,
                                                             LPCFUSION_INSTALL_REFERENCE reference)
{
    HANDLE thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    m_caller.reset(thread);
    Call call;
    call.path = manifest ? manifest : L"";
    call.flags = flags;
    if (reference) {
        call.reference = *reference;
        call.identifier = reference->szIdentifier ? reference->szIdentifier : L"";
    }
    const size_t index = m_calls.size();
    m_calls.push_back(call);
    if (m_gate) {
        SetEvent(m_entered);
        WaitForSingleObject(m_gate, INFINITE);
    }
    return index < m_answers.size() ? m_answers[index] : S_OK;
}

} // namespace test
