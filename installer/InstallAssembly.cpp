#include "InstallAssembly.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdint>
#include <cwchar>

#include "ComSupport.h"
#include "Paths.h"
#include "SetupLog.h"
#include "SystemLibrary.h"
#include "Text.h"
#include "XmlDocument.h"

namespace {

// FUSION_REFCOUNT_FILEPATH_GUID: the installation is referenced by a file path.
const GUID kFilePathScheme = {0xb02f9d65, 0xfb77, 0x4f7a, {0xaf, 0xa5, 0xb3, 0x91, 0x30, 0x9f, 0x11, 0xc9}};

std::atomic<CInstallAssembly::CreateAssemblyCacheProc> g_defaultCreateCache{nullptr};

std::wstring systemFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? withBackslash(buffer) : std::wstring();
}

std::wstring windowsFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? withBackslash(buffer) : std::wstring();
}

std::wstring fullPath(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return {};
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
    if (length == 0 || length >= needed)
        return {};
    full.resize(length);
    return full;
}

bool endsWithNoCase(const std::wstring& text, const wchar_t* suffix)
{
    const size_t length = wcslen(suffix);
    return text.size() >= length && _wcsicmp(text.c_str() + text.size() - length, suffix) == 0;
}

// Names of the plain files of folder (ending in a backslash) that match pattern, in enumeration order.
std::vector<std::wstring> listFiles(const std::wstring& folder, const wchar_t* pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + pattern).c_str(), &data));
    if (!find)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (FindNextFileW(find.get(), &data));
    return names;
}

bool isPlainFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether a value can stand inside one file name: no path separator, wildcard, ":" or control code.
bool isFileNamePart(const std::wstring& value)
{
    if (hasInvalidPathChars(value) || value.find(L'\\') != std::wstring::npos)
        return false;
    return std::none_of(value.begin(), value.end(), [](wchar_t c) { return c < 0x20; });
}

// h = h * 65599 + c over the text, a to z counted as upper case, modulo 2^32.
unsigned long textHash(const std::wstring& text)
{
    uint32_t hash = 0;
    for (wchar_t c : text) {
        const uint32_t unit = (c >= L'a' && c <= L'z') ? c - (L'a' - L'A') : c;
        hash = hash * 65599u + unit;
    }
    return hash;
}

const std::wstring* findAttribute(const AssemblyIdentity& identity, const wchar_t* name)
{
    for (const auto& attribute : identity.attributes)
        if (attribute.first == name)
            return &attribute.second;
    return nullptr;
}

// Whether an answer of InstallAssembly means installed: S_OK or S_FALSE. Some caches hand back a
// bare Win32 error code (a positive value such as ERROR_SXS_MANIFEST_FORMAT_ERROR) for a rejected
// manifest, which is no success even though SUCCEEDED() holds.
bool installed(HRESULT hr)
{
    return hr == S_OK || hr == S_FALSE;
}

// Printable form of an HRESULT for "%p".
void* hresultText(HRESULT hr)
{
    return reinterpret_cast<void*>(static_cast<uintptr_t>(static_cast<ULONG>(hr)));
}

} // namespace

CInstallAssembly::CInstallAssembly()
    : m_systemFolder(systemFolder()), m_windowsFolder(windowsFolder()), m_createCache(g_defaultCreateCache.load())
{
    const DWORD version = GetVersion();
    m_method = chooseInstallMethod(version);
    logPrint(L"OS main version is %d, sub version is %d, install func is %p", static_cast<int>(LOBYTE(LOWORD(version))),
             static_cast<int>(HIBYTE(LOWORD(version))), reinterpret_cast<void*>(m_method));
}

CInstallAssembly::InstallMethod CInstallAssembly::chooseInstallMethod(DWORD version)
{
    const int major = LOBYTE(LOWORD(version));
    const int minor = HIBYTE(LOWORD(version));
    if (major < 5 || (major == 5 && minor == 0))
        return &CInstallAssembly::installByCopy;
    return &CInstallAssembly::installBySideBySideCache;
}

CInstallAssembly::CreateAssemblyCacheProc CInstallAssembly::setDefaultCreateAssemblyCache(
    CreateAssemblyCacheProc create)
{
    return g_defaultCreateCache.exchange(create);
}

int CInstallAssembly::installAsm(const std::wstring& folder, const std::wstring& exe)
{
    if (!isFolder(folder) || !isPlainFile(exe)) {
        logPrint(L"[installAsm] check fail");
        return -1;
    }
    const std::wstring fullFolder = fullPath(folder);
    const std::wstring fullExe = fullPath(exe);
    if (fullFolder.empty() || fullExe.empty()) {
        logPrint(L"CInstallAssembly::installAsm, no full path for %ls or %ls.", folder.c_str(), exe.c_str());
        return -1;
    }
    m_folder = withBackslash(fullFolder);
    m_exe = fullExe;
    logPrint(L"[installAsm] parOK");
    ScopedCoInitialize com;
    return Install() ? 0 : 1;
}

bool CInstallAssembly::Install()
{
    if (m_folder.empty()) {
        logPrint(L"CInstallAssembly::Install, no runtime folder.");
        return false;
    }
    std::vector<std::wstring> manifests;
    std::vector<std::wstring> policies;
    for (const std::wstring& name : listFiles(m_folder, L"*")) {
        if (endsWithNoCase(name, L".manifest"))
            manifests.push_back(name);
        else if (endsWithNoCase(name, L".policy"))
            policies.push_back(name);
    }
    struct Record {
        std::wstring manifest;
        std::wstring policy;
    };
    std::vector<Record> records;
    if (!manifests.empty() && !policies.empty())
        records.push_back({m_folder + manifests.front(), m_folder + policies.front()});

    logPrint(L"CInstallAssembly::Install, count=%d", static_cast<int>(records.size()));
    bool allOk = true;
    bool last = false;
    for (const Record& record : records) {
        logPrint(L"CInstallAssembly::Install, begin inst: %ls %ls %ls", record.manifest.c_str(), record.policy.c_str(),
                 m_exe.c_str());
        last = m_method(*this, record.manifest, record.policy, m_exe);
        allOk = allOk && last;
        logPrint(L"CInstallAssembly::Install, bx=%d, bo=%d", allOk ? 1 : 0, last ? 1 : 0);
    }
    logPrint(L"CInstallAssembly::Install, end: bx=%d, bo=%d", allOk ? 1 : 0, last ? 1 : 0);
    return last && allOk;
}

CInstallAssembly::CreateAssemblyCacheProc CInstallAssembly::cacheFactory()
{
    if (m_createCache)
        return m_createCache;
    if (!m_sxs) {
        m_sxs = loadSystemLibrary(L"sxs.dll");
        if (!m_sxs) {
            logPrint(L"LoadLibrary fail (sxs.dll)");
            return nullptr;
        }
    }
    const auto create = reinterpret_cast<CreateAssemblyCacheProc>(
        reinterpret_cast<void*>(GetProcAddress(m_sxs.get(), "CreateAssemblyCache")));
    if (!create)
        logPrint(L"GetProcess [CreateAssemblyCache] fail (sxs.dll), the return-value is NULL");
    return create;
}

bool CInstallAssembly::installBySideBySideCache(CInstallAssembly& self, const std::wstring& manifest,
                                                const std::wstring& policy, const std::wstring& exe)
{
    const CreateAssemblyCacheProc create = self.cacheFactory();
    if (!create)
        return false;
    ComPtr<IAssemblyCache> cache;
    const HRESULT created = create(cache.put(), 0);
    if (FAILED(created) || !cache) {
        logPrint(L"CInstallAssembly::installBySideBySideCache, no assembly cache, hr=%p.", hresultText(created));
        return false;
    }

    FUSION_INSTALL_REFERENCE reference = {};
    reference.cbSize = sizeof reference;
    reference.dwFlags = 0;
    reference.guidScheme = kFilePathScheme;
    reference.szIdentifier = exe.c_str();
    reference.szNonCannonicalData = nullptr;

    logPrint(L"pChe->InstallAssembly(0, manifest, &refot)");
    HRESULT hr1 = cache->InstallAssembly(0, manifest.c_str(), &reference);
    if (hr1 == kAlreadyExists) {
        // Recorded but possibly without its files: an empty folder of exactly this assembly is
        // removed and the manifest installed once more. A folder that still holds anything stays.
        logPrint(L"try inst manifest %ls again.", manifest.c_str());
        AssemblyIdentity identity;
        if (!readAssemblyIdentity(manifest, &identity) || self.m_windowsFolder.empty()) {
            logPrint(L"CInstallAssembly::installBySideBySideCache, no assembly folder to remove for %ls.",
                     manifest.c_str());
        } else {
            const std::wstring folder = self.m_windowsFolder + L"WinSxs\\" + sideBySideFolderName(identity);
            logPrint(L"try remove %ls", folder.c_str());
            if (RemoveDirectoryW(folder.c_str())) {
                logPrint(L"reinstalling the mainifest...");
                hr1 = cache->InstallAssembly(0, manifest.c_str(), &reference);
            } else {
                logPrint(L"CInstallAssembly::installBySideBySideCache, %ls not removed, error %d.", folder.c_str(),
                         static_cast<int>(GetLastError()));
            }
        }
    }

    logPrint(L"pChe->InstallAssembly(0, policy, &refot)");
    HRESULT hr2 = E_FAIL;
    if (!installed(hr1))
        logPrint(L"InstallAssembly fail, the last error is %d", static_cast<int>(GetLastError()));
    else
        hr2 = cache->InstallAssembly(0, policy.c_str(), &reference);
    logPrint(L"hr1(manifest)=%p hr2(policy)=%p (%ls,%ls,%ls)", hresultText(hr1), hresultText(hr2), manifest.c_str(),
             policy.c_str(), exe.c_str());
    return installed(hr1) && (installed(hr2) || hr2 == kAlreadyExists);
}

bool CInstallAssembly::installByCopy(CInstallAssembly& self, const std::wstring& manifest, const std::wstring&,
                                     const std::wstring&)
{
    const size_t slash = manifest.find_last_of(L"\\/");
    if (slash == std::wstring::npos || self.m_systemFolder.empty()) {
        logPrint(L"CInstallAssembly::installByCopy, no source folder in %ls or no system folder.", manifest.c_str());
        return false;
    }
    const std::wstring source = manifest.substr(0, slash + 1);
    bool ok = true;
    for (const std::wstring& name : listFiles(source, L"*.dll")) {
        if (!endsWithNoCase(name, L".dll"))
            continue;  // a short-name match such as "x.dllx"
        const std::wstring target = self.m_systemFolder + name;
        const BOOL copied = CopyFileW((source + name).c_str(), target.c_str(), FALSE);
        const DWORD error = GetLastError();
        if (!copied || !isPlainFile(target)) {
            logPrint(L"CInstallAssembly::installByCopy, copy %ls to %ls fail, error %d.", name.c_str(), target.c_str(),
                     static_cast<int>(copied ? ERROR_SUCCESS : error));
            ok = false;
        }
    }
    return ok;
}

bool CInstallAssembly::readAssemblyIdentity(const std::wstring& manifestPath, AssemblyIdentity* identity)
{
    *identity = AssemblyIdentity();
    UniqueFileHandle file(CreateFileW(manifestPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        logPrint(L"CInstallAssembly::readAssemblyIdentity, cannot open %ls.", manifestPath.c_str());
        return false;
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
        if (bytes.size() > INT_MAX / 2)
            break;
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    const int count = bytes.size() <= INT_MAX / 2 ? static_cast<int>(bytes.size()) : 0;
    const int length =
        count > 0 ? MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), count, nullptr, 0) : 0;
    if (length <= 0) {
        logPrint(L"CInstallAssembly::readAssemblyIdentity, %ls is empty, too large or not UTF-8.",
                 manifestPath.c_str());
        return false;
    }
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), count, &text[0], length);

    // The root is the first element; only its direct children say what the assembly is.
    XmlDocument document;
    if (!document.parse(text) || !document.findElem(nullptr) || !document.intoElem()) {
        logPrint(L"CInstallAssembly::readAssemblyIdentity, %ls is not a well-formed document.", manifestPath.c_str());
        return false;
    }
    while (document.findElem(nullptr)) {
        const std::wstring name = document.currentName();
        if (name == L"assemblyIdentity") {
            for (auto& attribute : document.attributes())
                identity->attributes.push_back(std::move(attribute));
        } else if (name == L"file") {
            const std::wstring file = document.getAttrib(L"name");
            if (!file.empty())
                identity->files.push_back(file);
        }
    }
    bool valid = false;
    sideBySideFolderName(*identity, &valid);
    if (!valid)
        logPrint(L"CInstallAssembly::readAssemblyIdentity, %ls has no complete identity.", manifestPath.c_str());
    return valid;
}

unsigned long CInstallAssembly::identityHash(const AssemblyIdentity& identity)
{
    std::vector<std::pair<std::wstring, uint32_t>> hashes;
    for (const auto& [name, value] : identity.attributes)
        if (value != L"*")
            hashes.emplace_back(name, static_cast<uint32_t>(textHash(name) * 65599u + textHash(value)));
    std::stable_sort(hashes.begin(), hashes.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    uint32_t hash = 0;
    for (const auto& entry : hashes)
        hash = hash * 65599u + entry.second;
    return hash;
}

std::wstring CInstallAssembly::sideBySideFolderName(const AssemblyIdentity& identity, bool* valid)
{
    bool ok = true;
    auto part = [&](const wchar_t* name, const wchar_t* missing, bool required) {
        if (const std::wstring* value = findAttribute(identity, name)) {
            ok = ok && isFileNamePart(*value);
            return *value;
        }
        ok = ok && !required;
        return std::wstring(missing);
    };
    std::wstring folder = part(L"processorArchitecture", L"none", true);
    folder += L'_' + part(L"name", L"none", true);
    folder += L'_' + part(L"publicKeyToken", L"none", true);
    folder += L'_' + part(L"version", L"none", true);
    folder += L'_' + part(L"language", L"x-ww", false);
    wchar_t hash[16];
    _snwprintf(hash, 15, L"_%08lx", identityHash(identity));
    hash[15] = L'\0';
    folder += hash;
    if (valid)
        *valid = ok;
    return folder;
}

std::wstring CInstallAssembly::textualIdentity(const AssemblyIdentity& identity)
{
    const std::wstring* name = findAttribute(identity, L"name");
    std::wstring text = name && *name != L"*" ? *name : std::wstring();
    for (const auto& [attribute, value] : identity.attributes)
        if (attribute != L"name" && value != L"*")
            text += L',' + attribute + L"=\"" + value + L'"';
    return text;
}
