#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include <gtest/gtest.h>

#include "AssemblyTestSupport.h"
#include "InstallAssembly.h"
#include "TestSupport.h"

namespace {

using Attributes = std::vector<std::pair<std::wstring, std::wstring>>;

const wchar_t kShippedFolderName[] = L"x86_Microsoft.VC90.CRT_1fc8b3b9a1e18e3b_9.0.30729.6161_x-ww_31a54e43";

Attributes shippedAttributes()
{
    return {{L"type", L"win32"},
            {L"name", L"Microsoft.VC90.CRT"},
            {L"version", L"9.0.30729.6161"},
            {L"processorArchitecture", L"x86"},
            {L"publicKeyToken", L"1fc8b3b9a1e18e3b"}};
}

AssemblyIdentity identityOf(Attributes attributes)
{
    AssemblyIdentity identity;
    identity.attributes = std::move(attributes);
    return identity;
}

Attributes without(Attributes attributes, const wchar_t* name)
{
    attributes.erase(std::remove_if(attributes.begin(), attributes.end(), [&](const auto& a) { return a.first == name; }),
                     attributes.end());
    return attributes;
}

Attributes with(Attributes attributes, const wchar_t* name, const wchar_t* value)
{
    attributes = without(attributes, name);
    attributes.emplace_back(name, value);
    return attributes;
}

std::string manifestText(const std::string& identityAttributes)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
           "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
           "  <assemblyIdentity " + identityAttributes + "/>\r\n"
           "</assembly>\r\n";
}

const char kShippedIdentity[] = "type=\"win32\" name=\"Microsoft.VC90.CRT\" version=\"9.0.30729.6161\" "
                                "processorArchitecture=\"x86\" publicKeyToken=\"1fc8b3b9a1e18e3b\"";

bool moduleLoaded(const wchar_t* name)
{
    return GetModuleHandleW(name) != nullptr;
}

TEST(InstallAssembly, IdentityHashAndSideBySideFolderName)
{
    struct Case {
        const char* name;
        Attributes attributes;
        const wchar_t* folder;  // nullptr: only validity and hash are checked
        unsigned long hash;     // 0: not checked
        bool valid;
    };
    const Attributes shipped = shippedAttributes();
    Attributes reordered(shipped.rbegin(), shipped.rend());
    const Case cases[] = {
        {"shipped runtime", shipped, kShippedFolderName, 0x31a54e43, true},
        {"attribute order does not matter", reordered, kShippedFolderName, 0x31a54e43, true},
        {"a to z hash as upper case", with(shipped, L"name", L"microsoft.vc90.crt"),
         L"x86_microsoft.vc90.crt_1fc8b3b9a1e18e3b_9.0.30729.6161_x-ww_31a54e43", 0x31a54e43, true},
        {"\"*\" values are left out", with(shipped, L"culture", L"*"), kShippedFolderName, 0x31a54e43, true},
        {"language given", with(shipped, L"language", L"zh-cn"), nullptr, 0, true},
        {"no publicKeyToken", without(shipped, L"publicKeyToken"),
         L"x86_Microsoft.VC90.CRT_none_9.0.30729.6161_x-ww_", 0, false},
        {"no processorArchitecture", without(shipped, L"processorArchitecture"), nullptr, 0, false},
        {"no name", without(shipped, L"name"), nullptr, 0, false},
        {"no version", without(shipped, L"version"), nullptr, 0, false},
        {"no attributes", {}, L"none_none_none_none_x-ww_00000000", 0, false},
        {"path separator in a value", with(shipped, L"processorArchitecture", L"..\\..\\x86"), nullptr, 0, false},
        {"slash in a value", with(shipped, L"version", L"9.0/../x"), nullptr, 0, false},
        {"wildcard language", with(shipped, L"language", L"*"), nullptr, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AssemblyIdentity identity = identityOf(c.attributes);
        bool valid = !c.valid;
        const std::wstring folder = CInstallAssembly::sideBySideFolderName(identity, &valid);
        EXPECT_EQ(valid, c.valid);
        if (c.folder && c.valid) {
            EXPECT_EQ(folder, c.folder);
        } else if (c.folder) {
            EXPECT_EQ(folder.rfind(c.folder, 0), 0u) << testing::PrintToString(folder);
        }
        if (c.hash) {
            EXPECT_EQ(CInstallAssembly::identityHash(identity), c.hash);
        }
        wchar_t suffix[16];
        _snwprintf(suffix, 15, L"_%08lx", CInstallAssembly::identityHash(identity));
        suffix[15] = L'\0';
        EXPECT_EQ(folder.substr(folder.size() - 9), suffix) << "8 lower-case hex digits";
    }
    // The language, when given, takes the place of x-ww and enters the hash.
    const AssemblyIdentity chinese = identityOf(with(shipped, L"language", L"zh-cn"));
    EXPECT_NE(CInstallAssembly::identityHash(chinese), 0x31a54e43ul);
    EXPECT_NE(CInstallAssembly::sideBySideFolderName(chinese).find(L"_9.0.30729.6161_zh-cn_"), std::wstring::npos);
}

TEST(InstallAssembly, TextualIdentityKeepsManifestOrderAndDropsWildcards)
{
    EXPECT_EQ(CInstallAssembly::textualIdentity(identityOf(shippedAttributes())),
              L"Microsoft.VC90.CRT,type=\"win32\",version=\"9.0.30729.6161\",processorArchitecture=\"x86\","
              L"publicKeyToken=\"1fc8b3b9a1e18e3b\"");
    EXPECT_EQ(CInstallAssembly::textualIdentity(identityOf({{L"type", L"win32"}, {L"language", L"*"}, {L"name", L"A"}})),
              L"A,type=\"win32\"");
}

TEST(InstallAssembly, ReadAssemblyIdentityTakesOnlyWellFormedUtf8Manifests)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool ok;
    };
    const std::string shipped = manifestText(kShippedIdentity);
    const std::string utf16("\xFF\xFE<\0a\0/\0>\0", 10);
    const Case cases[] = {
        {"shipped manifest", shipped, true},
        {"with byte-order mark", "\xEF\xBB\xBF" + shipped, true},
        {"identity and files among other children",
         "<assembly><file name=\"msvcr90.dll\"/><noInherit/><assemblyIdentity " + std::string(kShippedIdentity) +
             "/><file name=\"msvcp90.dll\"><hash/></file></assembly>",
         true},
        {"empty file", "", false},
        {"only a byte-order mark", "\xEF\xBB\xBF", false},
        {"not UTF-8 (Latin-1 letter)", manifestText("name=\"Microsoft.VC90.CRT\xE9\" type=\"win32\""), false},
        {"not UTF-8 (UTF-16 text)", utf16, false},
        {"binary bytes", std::string("\x00\x01\x02\xFF\xFE\x80", 6), false},
        {"no assemblyIdentity", "<assembly><file name=\"a.dll\"/></assembly>", false},
        {"identity not a child of the root", "<assembly><dependency><assemblyIdentity " +
                                                 std::string(kShippedIdentity) + "/></dependency></assembly>",
         false},
        {"root not closed", "<assembly><assemblyIdentity " + std::string(kShippedIdentity) + "/>", false},
        {"identity without publicKeyToken",
         manifestText("type=\"win32\" name=\"A\" version=\"1.0.0.0\" processorArchitecture=\"x86\""), false},
        {"plain text", "this is no manifest", false},
    };
    test::TempFolder temp(L"asm");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = temp / L"test.manifest";
        ASSERT_TRUE(test::writeFile(path, c.bytes));
        AssemblyIdentity identity;
        EXPECT_EQ(CInstallAssembly::readAssemblyIdentity(path, &identity), c.ok);
        if (c.ok) {
            EXPECT_EQ(CInstallAssembly::sideBySideFolderName(identity), kShippedFolderName);
        }
    }

    AssemblyIdentity identity;
    EXPECT_FALSE(CInstallAssembly::readAssemblyIdentity(temp / L"missing.manifest", &identity));
    EXPECT_FALSE(CInstallAssembly::readAssemblyIdentity(temp.path(), &identity)) << "a folder";

    ASSERT_TRUE(CInstallAssembly::readAssemblyIdentity(
        test::sampleRuntimeFolder() + L"Microsoft.VC90.CRT.manifest", &identity));
    EXPECT_EQ(identity.attributes, shippedAttributes());
    EXPECT_EQ(identity.files, (std::vector<std::wstring>{L"msvcr90.dll", L"msvcp90.dll", L"msvcm90.dll"}));
    ASSERT_TRUE(test::writeFile(temp / L"files.manifest", cases[2].bytes));
    ASSERT_TRUE(CInstallAssembly::readAssemblyIdentity(temp / L"files.manifest", &identity));
    EXPECT_EQ(identity.files, (std::vector<std::wstring>{L"msvcr90.dll", L"msvcp90.dll"}));
}

TEST(InstallAssembly, WindowsTwoThousandAndOlderCopyEverythingNewerUsesTheCache)
{
    struct Case {
        int major;
        int minor;
        CInstallAssembly::InstallMethod method;
    };
    const Case cases[] = {
        {4, 10, &CInstallAssembly::installByCopy},
        {5, 0, &CInstallAssembly::installByCopy},
        {5, 1, &CInstallAssembly::installBySideBySideCache},
        {5, 2, &CInstallAssembly::installBySideBySideCache},
        {6, 0, &CInstallAssembly::installBySideBySideCache},
        {10, 0, &CInstallAssembly::installBySideBySideCache},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor);
        const DWORD version = 0x23F00000u | (static_cast<DWORD>(c.minor) << 8) | static_cast<DWORD>(c.major);
        EXPECT_EQ(CInstallAssembly::chooseInstallMethod(version), c.method);
    }
    test::ScopedLog log;
    CInstallAssembly assembly;
    EXPECT_TRUE(log.contains(L"] OS main version is "));
    EXPECT_TRUE(log.contains(L", install func is "));
}

TEST(InstallAssembly, UnusableArgumentsReturnMinusOneWithoutLoadingSxs)
{
    ASSERT_FALSE(moduleLoaded(L"sxs.dll")) << "this test needs a process that has not loaded sxs.dll";
    test::TempFolder temp(L"asm");
    const std::wstring folder = test::copySampleRuntime(temp.path());
    const std::wstring exe = temp / L"zorvi.exe";
    ASSERT_TRUE(test::writeFile(exe, "MZ"));
    struct Case {
        const char* name;
        std::wstring folder;
        std::wstring exe;
    };
    const Case cases[] = {
        {"missing folder", temp / L"Missing.CRT", exe},
        {"folder is a file", exe, exe},
        {"missing executable", folder, temp / L"missing.exe"},
        {"executable is a folder", folder, folder},
        {"empty arguments", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScopedLog log;
        CInstallAssembly assembly;
        EXPECT_EQ(assembly.installAsm(c.folder, c.exe), -1);
        EXPECT_EQ(log.count(L"] [installAsm] check fail\r\n"), 1);
        EXPECT_FALSE(log.contains(L"parOK"));
        EXPECT_FALSE(log.contains(L"CInstallAssembly::Install"));
    }
    EXPECT_FALSE(moduleLoaded(L"sxs.dll"));
}

TEST(InstallAssembly, FolderWithoutManifestAndPolicyInstallsNothing)
{
    struct Case {
        const char* name;
        std::vector<const wchar_t*> files;
    };
    const Case cases[] = {
        {"manifest only", {L"Microsoft.VC90.CRT.manifest", L"msvcr90.dll"}},
        {"policy only", {L"Microsoft.VC90.CRT.policy"}},
        {"empty folder", {}},
        {"names only look alike", {L"a.manifest.txt", L"a.policyx", L"manifest"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder temp(L"asm");
        const std::wstring folder = temp / L"Microsoft.VC90.CRT\\";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        for (const wchar_t* name : c.files)
            ASSERT_TRUE(test::writeFile(folder + name, manifestText(kShippedIdentity)));
        ASSERT_TRUE(test::writeFile(temp / L"zorvi.exe", "MZ"));
        test::FakeAssemblyCache cache;
        cache.install();
        test::ScopedLog log;
        CInstallAssembly assembly;
        assembly.setCreateAssemblyCache(&test::FakeAssemblyCache::create);
        EXPECT_EQ(assembly.installAsm(folder, temp / L"zorvi.exe"), 1);
        EXPECT_TRUE(cache.calls().empty());
        EXPECT_TRUE(log.contains(L"] [installAsm] parOK\r\n"));
        EXPECT_TRUE(log.contains(L"] CInstallAssembly::Install, count=0\r\n"));
        EXPECT_TRUE(log.contains(L"] CInstallAssembly::Install, end: bx=1, bo=0\r\n"));
    }
}

TEST(InstallAssembly, SampleRuntimeGoesIntoThePlatformAssemblyCache)
{
    // The store may hold a runtime of the same identity already (Wine's own): it is put back.
    test::ScopedAssemblyStore store(L"vc90.crt");
    test::TempFolder temp(L"asm");
    const std::wstring folder = test::copySampleRuntime(temp.path());
    const std::wstring exe = temp / L"zorvi.exe";
    ASSERT_TRUE(test::writeFile(exe, "MZ"));
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round == 1 ? "first install" : "repeated install");
        test::ScopedLog log;
        CInstallAssembly assembly;
        ASSERT_EQ(assembly.installMethod(), &CInstallAssembly::installBySideBySideCache);
        // The folder is stored with a trailing backslash.
        const int result = assembly.installAsm(folder.substr(0, folder.size() - 1), exe);
        EXPECT_EQ(assembly.runtimeFolder(), folder);
        EXPECT_TRUE(moduleLoaded(L"sxs.dll"));
        EXPECT_EQ(log.count(L"] pChe->InstallAssembly(0, manifest, &refot)\r\n"), 1);
        EXPECT_EQ(log.count(L"] pChe->InstallAssembly(0, policy, &refot)\r\n"), 1);
        EXPECT_EQ(log.count(L"] hr1(manifest)="), 1);
        EXPECT_TRUE(log.contains(L"] CInstallAssembly::Install, begin inst: " + folder + L"Microsoft.VC90.CRT.manifest " +
                                 folder + L"Microsoft.VC90.CRT.policy " + exe + L"\r\n"));
        // What this platform's cache answered, as the log shows it.
        const std::wstring text = log.text();
        const size_t at = text.find(L"hr1(manifest)=");
        if (at != std::wstring::npos)
            std::printf("%ls\n", text.substr(at, text.find(L'\r', at) - at).c_str());
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(log.contains(L"] CInstallAssembly::Install, end: bx=1, bo=1\r\n"));
    }
}

TEST(InstallAssembly, ManifestThePlatformCacheRejectsIsAFailure)
{
    // The identity is complete but the manifest lists no file: the cache refuses it.
    test::ScopedAssemblyStore store(L"vc90.crt");
    test::TempFolder temp(L"asm");
    const std::wstring folder = temp / L"Microsoft.VC90.CRT\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(test::writeFile(folder + L"Microsoft.VC90.CRT.manifest", manifestText(kShippedIdentity)));
    ASSERT_TRUE(CopyFileW((test::sampleRuntimeFolder() + L"Microsoft.VC90.CRT.policy").c_str(),
                          (folder + L"Microsoft.VC90.CRT.policy").c_str(), FALSE));
    ASSERT_TRUE(test::writeFile(temp / L"zorvi.exe", "MZ"));
    test::ScopedLog log;
    CInstallAssembly assembly;
    EXPECT_EQ(assembly.installAsm(folder, temp / L"zorvi.exe"), 1);
    EXPECT_EQ(log.count(L"] InstallAssembly fail, the last error is "), 1);
    EXPECT_TRUE(log.contains(L"] CInstallAssembly::Install, end: bx=0, bo=0\r\n"));
}

// The cache's answers in order; what installAsm makes of them.
TEST(InstallAssembly, CacheAnswersDecideTheResult)
{
    const HRESULT exists = CInstallAssembly::kAlreadyExists;
    enum Folder { None, Empty, Full };
    enum Call { M, P };
    struct Case {
        const char* name;
        std::vector<HRESULT> answers;
        Folder folder;  // state of the assembly's folder below WinSxs
        int result;
        std::vector<Call> calls;
        bool folderRemains;
    };
    const Case cases[] = {
        {"both installed", {S_OK, S_OK}, None, 0, {M, P}, false},
        {"manifest refreshed", {S_FALSE, S_OK}, None, 0, {M, P}, false},
        {"policy already there counts", {S_OK, exists}, None, 0, {M, P}, false},
        {"policy fails", {S_OK, E_ACCESSDENIED}, None, 1, {M, P}, false},
        {"manifest fails, no policy", {E_FAIL}, None, 1, {M}, false},
        {"manifest answered with a bare error code", {HRESULT(ERROR_SXS_MANIFEST_FORMAT_ERROR)}, None, 1, {M}, false},
        {"recorded, empty folder removed, reinstalled", {exists, S_OK, S_OK}, Empty, 0, {M, M, P}, false},
        {"recorded, reinstall fails", {exists, exists}, Empty, 1, {M, M}, false},
        {"recorded, no folder: no second try", {exists}, None, 1, {M}, false},
        {"recorded, folder still holds files: kept", {exists}, Full, 1, {M}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder temp(L"asm");
        const std::wstring folder = test::copySampleRuntime(temp.path());
        const std::wstring exe = temp / L"zorvi.exe";
        ASSERT_TRUE(test::writeFile(exe, "MZ"));
        const std::wstring windows = temp / L"Windows\\";
        const std::wstring winSxs = windows + L"WinSxs\\";
        const std::wstring assemblyFolder = winSxs + kShippedFolderName;
        const std::wstring neighbour = winSxs + L"x86_Microsoft.VC90.CRT_1fc8b3b9a1e18e3b_9.0.30729.6161_x-ww_31a54e44";
        ASSERT_TRUE(CreateDirectoryW(windows.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(winSxs.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(neighbour.c_str(), nullptr));
        if (c.folder != None) {
            ASSERT_TRUE(CreateDirectoryW(assemblyFolder.c_str(), nullptr));
        }
        if (c.folder == Full) {
            ASSERT_TRUE(test::writeFile(assemblyFolder + L"\\msvcr90.dll", "x"));
        }

        test::FakeAssemblyCache cache(c.answers);
        cache.install();
        test::ScopedLog log;
        CInstallAssembly assembly;
        assembly.setCreateAssemblyCache(&test::FakeAssemblyCache::create);
        assembly.setWindowsFolder(windows);
        EXPECT_EQ(assembly.installAsm(folder, exe), c.result);

        ASSERT_EQ(cache.calls().size(), c.calls.size());
        for (size_t i = 0; i < c.calls.size(); ++i) {
            const auto& call = cache.calls()[i];
            EXPECT_EQ(call.path, folder + (c.calls[i] == M ? L"Microsoft.VC90.CRT.manifest" : L"Microsoft.VC90.CRT.policy"));
            EXPECT_EQ(call.flags, 0u);
            EXPECT_EQ(call.reference.cbSize, sizeof(FUSION_INSTALL_REFERENCE));
            EXPECT_EQ(call.reference.dwFlags, 0u);
            const GUID filePath = {0xb02f9d65, 0xfb77, 0x4f7a, {0xaf, 0xa5, 0xb3, 0x91, 0x30, 0x9f, 0x11, 0xc9}};
            EXPECT_TRUE(IsEqualGUID(call.reference.guidScheme, filePath));
            EXPECT_EQ(call.identifier, exe);
            EXPECT_EQ(call.reference.szNonCannonicalData, nullptr);
        }
        EXPECT_EQ(cache.references(), 0u) << "the cache is released";
        EXPECT_EQ(test::folderExists(assemblyFolder), c.folderRemains);
        EXPECT_TRUE(test::folderExists(neighbour)) << "only the assembly's own folder may go";
        EXPECT_TRUE(test::folderExists(winSxs));
        EXPECT_EQ(log.count(L"] hr1(manifest)="), 1);
        if (c.answers[0] == exists) {
            EXPECT_TRUE(log.contains(L"] try inst manifest " + folder + L"Microsoft.VC90.CRT.manifest again.\r\n"));
            EXPECT_TRUE(log.contains(L"] try remove " + assemblyFolder + L"\r\n"));
            EXPECT_EQ(log.contains(L"] reinstalling the mainifest...\r\n"), c.folder == Empty);
        }
        if (c.calls.size() < 2 || c.calls.back() != P) {
            EXPECT_TRUE(log.contains(L"] InstallAssembly fail, the last error is "));
        }
        if (c.answers[0] == E_FAIL) {
            EXPECT_TRUE(log.contains(L"hr1(manifest)=0000000080004005 hr2(policy)=0000000080004005") ||
                        log.contains(L"hr1(manifest)=80004005 hr2(policy)=80004005"));
        }
    }
}

TEST(InstallAssembly, NoCacheMeansFailureWithoutCalls)
{
    test::TempFolder temp(L"asm");
    const std::wstring folder = test::copySampleRuntime(temp.path());
    ASSERT_TRUE(test::writeFile(temp / L"zorvi.exe", "MZ"));
    test::ScopedLog log;
    CInstallAssembly assembly;
    assembly.setCreateAssemblyCache(&test::FakeAssemblyCache::createNothing);
    EXPECT_EQ(assembly.installAsm(folder, temp / L"zorvi.exe"), 1);
    EXPECT_TRUE(log.contains(L"CInstallAssembly::installBySideBySideCache, no assembly cache"));
    EXPECT_FALSE(log.contains(L"pChe->InstallAssembly"));
}

// Removal below WinSxs is bounded to the one folder the manifest names, and only when it is empty.
TEST(InstallAssembly, ReinstallNeverRemovesOutsideTheAssemblyFolder)
{
    struct Case {
        const char* name;
        std::string identity;
        std::wstring planted;  // relative to the test folder; an empty folder that must survive
    };
    const Case cases[] = {
        {"path climbing out of WinSxs",
         "type=\"win32\" name=\"Microsoft.VC90.CRT\" version=\"9.0.30729.6161\" "
         "processorArchitecture=\"..\\..\\x86\" publicKeyToken=\"1fc8b3b9a1e18e3b\"",
         L"x86_Microsoft.VC90.CRT_1fc8b3b9a1e18e3b_9.0.30729.6161_x-ww_"},
        {"identity without token names no folder",
         "type=\"win32\" name=\"Microsoft.VC90.CRT\" version=\"9.0.30729.6161\" processorArchitecture=\"x86\"",
         L"Windows\\WinSxs\\x86_Microsoft.VC90.CRT_none_9.0.30729.6161_x-ww_"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder temp(L"asm");
        const std::wstring folder = temp / L"Microsoft.VC90.CRT\\";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        const std::string manifest = manifestText(c.identity);
        ASSERT_TRUE(test::writeFile(folder + L"a.manifest", manifest));
        ASSERT_TRUE(test::writeFile(folder + L"a.policy", manifest));
        ASSERT_TRUE(test::writeFile(temp / L"zorvi.exe", "MZ"));
        ASSERT_TRUE(SHCreateDirectoryExW(nullptr, (temp / L"Windows\\WinSxs").c_str(), nullptr) == ERROR_SUCCESS);
        // Plant every folder whose name starts with the planted prefix and ends in any hash.
        AssemblyIdentity identity;
        CInstallAssembly::readAssemblyIdentity(folder + L"a.manifest", &identity);
        wchar_t hash[16];
        _snwprintf(hash, 15, L"%08lx", CInstallAssembly::identityHash(identity));
        hash[15] = L'\0';
        const std::wstring planted = temp / (c.planted + hash);
        SHCreateDirectoryExW(nullptr, planted.c_str(), nullptr);
        ASSERT_TRUE(test::folderExists(planted));

        test::FakeAssemblyCache cache({CInstallAssembly::kAlreadyExists});
        cache.install();
        test::ScopedLog log;
        CInstallAssembly assembly;
        assembly.setCreateAssemblyCache(&test::FakeAssemblyCache::create);
        assembly.setWindowsFolder(temp / L"Windows\\");
        EXPECT_EQ(assembly.installAsm(folder, temp / L"zorvi.exe"), 1);
        EXPECT_TRUE(test::folderExists(planted));
        EXPECT_EQ(cache.calls().size(), 1u) << "no second install";
        EXPECT_FALSE(log.contains(L"] try remove "));
    }
}

TEST(InstallAssembly, CopyMethodCopiesEveryDllAndReportsFailedCopies)
{
    test::TempFolder temp(L"asm");
    const std::wstring source = temp / L"Microsoft.VC90.CRT\\";
    const std::wstring system = temp / L"system32\\";
    ASSERT_TRUE(CreateDirectoryW(source.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(system.c_str(), nullptr));
    for (const wchar_t* name : {L"msvcr90.dll", L"msvcp90.dll", L"MSVCM90.DLL", L"notes.txt", L"x.manifest"})
        ASSERT_TRUE(test::writeFile(source + name, "content of " + std::string(name, name + wcslen(name))));
    ASSERT_TRUE(CreateDirectoryW((source + L"folder.dll").c_str(), nullptr));
    ASSERT_TRUE(test::writeFile(system + L"msvcr90.dll", "old"));

    test::ScopedLog log;
    CInstallAssembly assembly;
    assembly.setSystemFolder(system);
    EXPECT_TRUE(CInstallAssembly::installByCopy(assembly, source + L"x.manifest", L"", L""));
    EXPECT_EQ(test::readFile(system + L"msvcr90.dll"), "content of msvcr90.dll") << "overwritten";
    EXPECT_EQ(test::listFiles(system),
              (std::vector<std::wstring>{L"MSVCM90.DLL", L"msvcp90.dll", L"msvcr90.dll"}));

    // A destination that cannot be written fails the call, and the other files are still copied.
    const std::wstring blocked = temp / L"blocked\\";
    ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((blocked + L"msvcp90.dll").c_str(), nullptr));
    assembly.setSystemFolder(blocked);
    EXPECT_FALSE(CInstallAssembly::installByCopy(assembly, source + L"x.manifest", L"", L""));
    EXPECT_EQ(test::readFile(blocked + L"msvcr90.dll"), "content of msvcr90.dll");
    EXPECT_EQ(test::readFile(blocked + L"MSVCM90.DLL"), "content of MSVCM90.DLL");
    EXPECT_EQ(log.count(L"] CInstallAssembly::installByCopy, copy msvcp90.dll to " + blocked + L"msvcp90.dll fail"), 1);

    // A read-only file left in place is a failed copy, not a success.
    const std::wstring readOnly = temp / L"readonly\\";
    ASSERT_TRUE(CreateDirectoryW(readOnly.c_str(), nullptr));
    ASSERT_TRUE(test::writeFile(readOnly + L"msvcr90.dll", "old"));
    ASSERT_TRUE(SetFileAttributesW((readOnly + L"msvcr90.dll").c_str(), FILE_ATTRIBUTE_READONLY));
    assembly.setSystemFolder(readOnly);
    const bool copied = CInstallAssembly::installByCopy(assembly, source + L"x.manifest", L"", L"");
    const std::string kept = test::readFile(readOnly + L"msvcr90.dll");
    SetFileAttributesW((readOnly + L"msvcr90.dll").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(copied, kept != "old") << "the result says whether the new file is there";
    EXPECT_EQ(test::readFile(readOnly + L"msvcp90.dll"), "content of msvcp90.dll");

    // No folder in the manifest path: nothing is looked up relative to the current folder.
    EXPECT_FALSE(CInstallAssembly::installByCopy(assembly, L"x.manifest", L"", L""));
}

} // namespace
