// Both built programs carry their manifest (administrator rights, common controls 6) and icons.

#include <windows.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

TEST(ProgramResources, ManifestAndIconsAreEmbedded)
{
    for (const wchar_t* program : {L"ZorviSetup.exe", L"Uninstall.exe"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(program)));
        UniqueLibrary module(LoadLibraryExW((test::binFolder() + program).c_str(), nullptr,
                                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module);
        HRSRC manifest = FindResourceW(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
        ASSERT_NE(manifest, nullptr);
        const char* text = static_cast<const char*>(LockResource(LoadResource(module.get(), manifest)));
        const std::string xml(text, SizeofResource(module.get(), manifest));
        EXPECT_NE(xml.find("level=\"requireAdministrator\" uiAccess=\"false\""), std::string::npos);
        EXPECT_NE(xml.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
        for (int id : {101, 102})
            EXPECT_NE(FindResourceW(module.get(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14)), nullptr) << "icon " << id;
    }
}

} // namespace
