#include <gtest/gtest.h>

#include <string>

#include "DebugMessage.h"
#include "DrawingFixture.h"
#include "LxAssignLib.h"
#include "LxFile.h"
#include "LxResourceLib.h"
#include "TestSupport.h"

namespace {

class ResourceTest : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        LxAssignLib::instance()->reset();
    }
    void TearDown() override { LxAssignLib::instance()->reset(); }
};

std::vector<std::wstring> g_debugLines;
void collectDebug(const std::wstring& text)
{
    g_debugLines.push_back(text);
}

}  // namespace

TEST_F(ResourceTest, BuiltInSkinImagesHaveTheirSizes)
{
    const struct {
        const wchar_t* name;
        int width, height;
    } rows[] = {{L"lxgui:shadow.png", 66, 66},          {L"lxgui:btn_4word_normal.png", 60, 20},
                {L"lxgui:mask_mainframe.png", 210, 510}, {L"lxgui:slider_normal.png", 2, 48},
                {L"lxgui:edit_normal.png", 28, 16},      {L"lxgui:checkbox_selected.png", 14, 14},
                {L"lxgui:scroll_bk.png", 10, 11},        {L"dll:///theme/gui/close_hover.png", 44, 22}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const LxImage image = imageFromUrl(row.name);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), row.width);
        EXPECT_EQ(image.height(), row.height);
        EXPECT_TRUE(imageFromUrl(row.name).sameRecord(image));
    }
    LxResourceMapping* dll = LxResourceLib::instance()->mapping(L"dll");
    ASSERT_NE(dll, nullptr);
    EXPECT_GE(dll->entryCount(), 48u);
    EXPECT_TRUE(dll->exists(LxUrl(L"lxgui:icon.png")));
}

TEST_F(ResourceTest, EmbeddedTablesSkipEmptyEntriesAndKeepOffsets)
{
    const char* const names[] = {"res/a.txt", "res/empty.txt", "res/b.txt"};
    const unsigned char data[] = {'a', 'b', 'c', 'x', 'y'};
    const std::uint32_t sizes[] = {3, 0, 2};
    EXPECT_TRUE(registerEmbeddedResources(3, names, data, sizes));
    LxAssignLib::instance()->addAssign(L"setup", L"dll:///res");
    EXPECT_EQ(readUrl(L"setup:a.txt"), LxByteArray("abc", 3));
    EXPECT_EQ(readUrl(L"setup:b.txt"), LxByteArray("xy", 2));
    EXPECT_FALSE(LxResourceLib::instance()->mapping(L"dll")->exists(LxUrl(L"setup:empty.txt")));
    EXPECT_TRUE(readUrl(L"setup:empty.txt").isEmpty());
}

TEST_F(ResourceTest, MissingResourcesGiveEmptyBytesAndNullImages)
{
    const wchar_t* const names[] = {L"lxgui:no_such.png", L"LXGUI:shadow.png", L"nothing://at/all",
                                    L"Z:\\missing\\file.png", L"dll:///theme/gui", L""};
    for (const wchar_t* name : names) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(readUrl(name).isEmpty());
        EXPECT_TRUE(imageFromUrl(name).isNull());
    }
}

TEST_F(ResourceTest, FileMappingReadsRealFilesEachTime)
{
    test::TempFolder folder;
    const std::wstring path = folder / L"licence.txt";
    ASSERT_TRUE(test::writeFile(path, "first"));
    EXPECT_EQ(readUrl(path.c_str()), LxByteArray("first", 5));
    ASSERT_TRUE(test::writeFile(path, "second text"));
    std::wstring url = L"file:///" + path;
    EXPECT_EQ(readUrl(url.c_str()), LxByteArray("second text", 11));
    EXPECT_TRUE(LxResourceLib::instance()->mapping(L"file")->exists(LxUrl(path.c_str())));

    // Images from disk are decoded once per URL text.
    const std::wstring png = folder / L"patch.png";
    ASSERT_TRUE(test::writeFile(png, std::string(reinterpret_cast<const char*>(kNinePatchPng), sizeof kNinePatchPng)));
    const LxImage image = imageFromUrl(png.c_str());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 30);
    EXPECT_TRUE(imageFromUrl(png.c_str()).sameRecord(image));
}

TEST_F(ResourceTest, RegisteringMappingsRefusesDuplicatesAndStrangers)
{
    LxResourceLib* lib = LxResourceLib::instance();
    EXPECT_FALSE(lib->registerMapping(L"dll", LxResourceMappingDLL::staticClassInfo()));
    EXPECT_FALSE(lib->registerMapping(L"other", nullptr));
    EXPECT_FALSE(lib->registerMapping(L"other", LxAssignLib::staticClassInfo()));
    EXPECT_EQ(lib->mapping(L"other"), nullptr);
    EXPECT_TRUE(lib->mapping(L"file")->inherits(LxResourceMappingFile::staticClassInfo()));
}

TEST_F(ResourceTest, ResourceFileEngineFailsWithDebugMessages)
{
    g_debugLines.clear();
    DebugMessage::setSink(&collectDebug);
    LxFile file(L":/res/x.png");
    EXPECT_FALSE(file.open(LxOpenRead));
    EXPECT_FALSE(LxResourceLib::instance()->mapping(L"file")->exists(LxUrl(L"file:///:/res/x.png")));
    DebugMessage::setSink(nullptr);
    ASSERT_EQ(g_debugLines.size(), 2u);
    EXPECT_EQ(g_debugLines[0], L"LxResourceFileEngine Not implemented ");
}

TEST_F(ResourceTest, NativeFileEngineModes)
{
    test::TempFolder folder;
    const std::wstring path = folder / L"f.bin";
    {
        LxNativeFileEngine engine(path.c_str());
        EXPECT_EQ(engine.size(), -1);
        EXPECT_FALSE(engine.open(LxOpenRead));  // missing file
        ASSERT_TRUE(engine.open(LxOpenWrite | LxOpenTruncate));
        EXPECT_EQ(engine.write("hello", 5), 5);
        engine.close();
    }
    {
        LxNativeFileEngine engine(path.c_str());
        ASSERT_TRUE(engine.open(LxOpenWrite | LxOpenAppend));
        EXPECT_EQ(engine.pos(), 5);
        EXPECT_TRUE(engine.atEnd());
        EXPECT_EQ(engine.write("!", 1), 1);
    }
    LxFile file(path.c_str());
    ASSERT_TRUE(file.open(LxOpenRead));
    EXPECT_EQ(file.bytesAvailable(), 6);
    EXPECT_EQ(file.readAll(), LxByteArray("hello!", 6));
    EXPECT_TRUE(file.atEnd());
}
