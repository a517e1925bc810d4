#include <gtest/gtest.h>

#include "DrawingFixture.h"
#include "TestSupport.h"

namespace {

class SkinTest : public DrawingTest {
public:
    // The PNGs the build rendered for one embedded table (build/<arch>/skin/<table>/).
    static std::wstring rendered(const wchar_t* table, const wchar_t* name)
    {
        return test::binFolder() + L"..\\skin\\" + table + L"\\" + name;
    }
};

struct SizeRow {
    const wchar_t* name;
    int width, height;
};

void expectSizes(const wchar_t* table, const SizeRow* rows, std::size_t count,
                 std::wstring (*path)(const wchar_t*, const wchar_t*))
{
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(testing::Message() << "table " << table << ", row " << i);
        const LxImage image = LxImage::fromFile(path(table, rows[i].name).c_str());
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), rows[i].width);
        EXPECT_EQ(image.height(), rows[i].height);
    }
}

}  // namespace

TEST_F(SkinTest, InstallerImagesHaveTheirSizes)
{
    const SizeRow rows[] = {
        {L"prompt_bk.png", 340, 200},        {L"title.png", 35, 10},
        {L"normal_close.png", 30, 30},       {L"hover_close.png", 30, 30},
        {L"press_close.png", 30, 30},        {L"cancel_normal.png", 39, 30},
        {L"cancel_hover.png", 39, 30},       {L"cancel_down.png", 39, 30},
        {L"button_normal.png", 37, 30},      {L"button_disable.png", 37, 30},
        {L"background.png", 520, 326},       {L"install_normal.png", 183, 163},
        {L"install_disable.png", 183, 163},  {L"customize_collapse.png", 16, 16},
        {L"customize_expand.png", 16, 16},   {L"line.png", 19, 1},
        {L"browser_normal.png", 10, 24},     {L"protocol_frame.png", 35, 63},
        {L"button_normal_custom.png", 43, 36}, {L"button_disable_custom.png", 43, 36},
        {L"progressbar_bk.png", 34, 2},      {L"progressbar.png", 24, 2},
        {L"Zorvi.png", 520, 276},
    };
    expectSizes(L"zorviSetupSkinTable", rows, std::size(rows), &SkinTest::rendered);
    const SizeRow large[] = {{L"switch_in_decompress_background_zh-CN.png", 440, 279},
                             {L"switch_in_decompress_background_2_zh-CN.png", 440, 279},
                             {L"switch_in_decompress_background_3_zh-CN.png", 440, 279}};
    expectSizes(L"zorviSetupLargeTable", large, std::size(large), &SkinTest::rendered);
}

TEST_F(SkinTest, UninstallerImagesHaveTheirSizes)
{
    const SizeRow rows[] = {
        {L"prompt_bk.png", 340, 200},    {L"background.png", 520, 326},  {L"title.png", 35, 10},
        {L"normal_close.png", 30, 30},   {L"min_normal.png", 30, 30},    {L"min_press.png", 30, 30},
        {L"button_normal.png", 37, 30},  {L"button_disable.png", 37, 30}, {L"cancel_down.png", 39, 30},
        {L"recycle.png", 240, 250},      {L"uninstalling.png", 176, 157}, {L"uninstall_done.png", 162, 156},
        {L"progressbar_bk.png", 34, 2},  {L"progressbar.png", 24, 2},
    };
    expectSizes(L"zorviUninstallSkinTable", rows, std::size(rows), &SkinTest::rendered);
}

TEST_F(SkinTest, ProgramIconsCarryEveryRenderedSize)
{
    const struct {
        const wchar_t* program;
        int id, images;
    } rows[] = {{L"ZorviSetup.exe", 101, 4}, {L"ZorviSetup.exe", 102, 2}, {L"Uninstall.exe", 101, 4},
                {L"Uninstall.exe", 102, 2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.id);
        UniqueLibrary module(LoadLibraryExW((test::binFolder() + row.program).c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module);
        HRSRC group = FindResourceW(module.get(), MAKEINTRESOURCEW(row.id), MAKEINTRESOURCEW(14));
        ASSERT_NE(group, nullptr);
        const auto* header = static_cast<const WORD*>(LockResource(LoadResource(module.get(), group)));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header[2], row.images);  // GRPICONDIR: reserved, type, count
    }
}
