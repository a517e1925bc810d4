#include <gtest/gtest.h>

#include "LxAssignLib.h"
#include "LxPrinters.h"
#include "LxUrl.h"

namespace {

// Every test starts from the defaults and leaves no assign of its own behind.
class UrlTest : public ::testing::Test {
protected:
    void SetUp() override { LxAssignLib::instance()->reset(); }
    void TearDown() override { LxAssignLib::instance()->reset(); }
};

}  // namespace

TEST_F(UrlTest, ResolvesAssigns)
{
    LxAssignLib* lib = LxAssignLib::instance();
    lib->addAssign(L"setup", L"dll:///res");
    lib->addAssign(L"colon", L"x:");
    lib->addAssign(L"colonslash", L"y:/");
    lib->addAssign(L"slash", L"dll:///a/");
    lib->addAssign(L"nested", L"setup:sub");
    lib->addAssign(L"gone", L"");
    const struct {
        const wchar_t* text;
        const wchar_t* resolved;
    } rows[] = {
        {L"lxgui:shadow.png", L"dll:///theme/gui/shadow.png"},
        {L"setup:title.png", L"dll:///res/title.png"},
        {L"C:\\dir\\a.png", L"C:/dir/a.png"},
        {L"dll:///res/x.png/", L"dll:///res/x.png"},
        {L"colon:p", L"x:p"},
        {L"colonslash:p", L"y:/p"},
        {L"slash:p", L"dll:///a//p"},
        {L"nested:p.png", L"dll:///res/sub/p.png"},
        {L"gone:p", L""},
        {L"LXGUI:shadow.png", L"LXGUI:shadow.png"},
        {L"a:b", L"a:b"},
        {L"unknown:x", L"unknown:x"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(lib->resolve(row.text), LxString(row.resolved));
    }
}

TEST_F(UrlTest, SplitsUrls)
{
    LxAssignLib::instance()->addAssign(L"setup", L"dll:///res");
    const struct {
        const wchar_t* text;
        bool ok;
        const wchar_t *scheme, *user, *host, *port, *path, *fragment, *query, *string;
    } rows[] = {
        {L"lxgui:shadow.png", true, L"dll", L"", L"", L"", L"theme/gui/shadow.png", L"", L"", L"dll:///theme/gui/shadow.png"},
        {L"setup:title.png", true, L"dll", L"", L"", L"", L"res/title.png", L"", L"", L"dll:///res/title.png"},
        {L"C:\\dir\\a.png", true, L"file", L"", L"", L"", L"C:/dir/a.png", L"", L"", L"file:///C:/dir/a.png"},
        {L"C:/dir/a.png", true, L"file", L"", L"", L"", L"C:/dir/a.png", L"", L"", L"file:///C:/dir/a.png"},
        {L"a.png", true, L"file", L"", L"", L"", L"a.png", L"", L"", L"file:///a.png"},
        {L"s://h/p", true, L"file", L"", L"", L"", L"s://h/p", L"", L"", L"file:///s://h/p"},
        {L"x:/y", true, L"file", L"", L"", L"", L"x:/y", L"", L"", L"file:///x:/y"},
        {L"file:///C:/x/y.png", true, L"file", L"", L"", L"", L"C:/x/y.png", L"", L"", L"file:///C:/x/y.png"},
        {L"sc://h/p?q#f", true, L"sc", L"", L"h", L"", L"p", L"", L"q#f", L"sc://h/p?q#f"},
        {L"sc://h/p#f?q", true, L"sc", L"", L"h", L"", L"p", L"f", L"q", L"sc://h/p#f?q"},
        {L"sc://u@h:80/p", true, L"sc", L"u", L"h", L"80", L"p", L"", L"", L"sc://u@h:80/p"},
        {L"sc://h:80/p", true, L"sc", L"", L"h:80", L"", L"p", L"", L"", L"sc://h:80/p"},
        {L"sc://host", true, L"sc", L"", L"host", L"", L"", L"", L"", L"sc://host"},
        {L"LXGUI:shadow.png", false, L"LXGUI", L"", L"", L"", L"", L"", L"", L"LXGUI://"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        LxUrl url;
        EXPECT_EQ(url.parse(row.text), row.ok);
        EXPECT_EQ(url.scheme(), LxString(row.scheme));
        EXPECT_EQ(url.user(), LxString(row.user));
        EXPECT_EQ(url.host(), LxString(row.host));
        EXPECT_EQ(url.port(), LxString(row.port));
        EXPECT_EQ(url.path(), LxString(row.path));
        EXPECT_EQ(url.fragment(), LxString(row.fragment));
        EXPECT_EQ(url.query(), LxString(row.query));
        EXPECT_EQ(url.toString(), LxString(row.string));
    }
}

TEST_F(UrlTest, DefaultAssignsAndResetting)
{
    LxAssignLib* lib = LxAssignLib::instance();
    lib->addAssign(L"uninstall", L"dll:///res");
    lib->reset();
    EXPECT_FALSE(lib->hasAssign(L"uninstall"));
    EXPECT_FALSE(lib->hasAssign(L"lxgui"));
    lib->resolve(L"x");  // the first resolve installs the defaults
    EXPECT_EQ(lib->assign(L"lxgui"), LxString(L"dll:///theme/gui"));
    EXPECT_EQ(lib->assign(L"root"), lib->assign(L"bin"));
    const std::wstring bin = lib->assign(L"bin").c_str();
    EXPECT_EQ(bin.rfind(L"file:///", 0), 0u);
    EXPECT_EQ(bin.find(L'\\'), std::wstring::npos);
    EXPECT_NE(bin.back(), L'/');
    EXPECT_FALSE(lib->assign(L"home").isEmpty());
}

TEST_F(UrlTest, HomeSkipsBuildFolders)
{
    const struct {
        const wchar_t* folder;
        const wchar_t* home;
    } rows[] = {
        {L"C:/app/Release", L"C:/app"},   {L"C:/app/release", L"C:/app"}, {L"C:/app/Debug", L"C:/app"},
        {L"C:/app/Win32", L"C:/app"},     {L"C:/app/Release_x", L"C:/app"}, {L"C:/app/bin", L"C:/app/bin"},
        {L"C:/app/Rel", L"C:/app"},       {L"C:/app/Relay", L"C:/app/Relay"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.folder);
        EXPECT_EQ(LxAssignLib::homeFolder(row.folder), LxString(row.home));
    }
}

TEST_F(UrlTest, SelfReferringAssignStops)
{
    LxAssignLib::instance()->addAssign(L"loop", L"loop:x");
    const LxString resolved = LxAssignLib::instance()->resolve(L"loop:a");
    EXPECT_EQ(std::wstring(resolved.c_str()).rfind(L"loop:", 0), 0u);
}
