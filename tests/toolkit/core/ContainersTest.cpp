#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LxContainers.h"
#include "MemPool.h"

namespace {

TEST(LxContainers, CopiesShareUntilOneChanges)
{
    LxList<int> list;
    for (int i = 0; i < 10; ++i)
        list.append(i);
    LxList<int> copy = list;
    EXPECT_TRUE(copy.isSharedWith(list));
    EXPECT_EQ(list.refCount(), 2);

    copy.append(10);
    EXPECT_FALSE(copy.isSharedWith(list));
    EXPECT_EQ(list.size(), 10u);
    EXPECT_EQ(copy.size(), 11u);
    EXPECT_EQ(list.refCount(), 1);

    LxString text(L"a string longer than the inline buffer");
    LxString textCopy = text;
    textCopy += L"!";
    EXPECT_EQ(std::wstring(text.c_str()), L"a string longer than the inline buffer");
    EXPECT_EQ(std::wstring(textCopy.c_str()), L"a string longer than the inline buffer!");

    LxByteArray bytes("abc", 3);
    LxByteArray bytesCopy = bytes;
    bytesCopy.append("d", 1);
    EXPECT_EQ(bytes.size(), 3u);
    EXPECT_EQ(std::string(bytesCopy.constData(), bytesCopy.size()), "abcd");
}

TEST(LxContainers, DataLivesInThePool)
{
    LxList<int> list;
    for (int i = 0; i < 10; ++i)
        list.append(i);
    EXPECT_TRUE(mp_owns(const_cast<int*>(&list.at(0))));
    LxString text(L"twenty characters...");
    EXPECT_TRUE(mp_owns(const_cast<wchar_t*>(text.c_str())));
}

TEST(LxContainers, MapsAndSetsKeepKeyOrder)
{
    LxMap<LxString, int> map;
    const wchar_t* keys[] = {L"b", L"a", L"\u00e9", L"Z", L"ab"};
    for (int i = 0; i < 5; ++i)
        map.insert(keys[i], i);
    std::vector<std::wstring> order;
    for (const auto& entry : map)
        order.push_back(entry.first.c_str());
    // Code unit by code unit: upper case before lower case, U+00E9 last.
    EXPECT_EQ(order, (std::vector<std::wstring>{L"Z", L"a", L"ab", L"b", L"\u00e9"}));
    EXPECT_EQ(map.value(L"ab"), 4);
    EXPECT_EQ(map.value(L"missing", -1), -1);
    EXPECT_TRUE(map.remove(L"a"));
    EXPECT_FALSE(map.remove(L"a"));

    LxSet<int> set;
    for (int v : {5, 1, 3, 1})
        set.insert(v);
    EXPECT_EQ(set.size(), 3u);
    EXPECT_EQ(set.first(), 1);
}

TEST(LxContainers, ListRemoval)
{
    LxList<int> list;
    for (int v : {1, 2, 3, 2, 4})
        list.append(v);
    const LxList<int> snapshot = list;
    EXPECT_EQ(list.removeAll(2), 2u);
    EXPECT_EQ(list.removeAll(9), 0u);
    EXPECT_TRUE(list.isSharedWith(list));
    list.removeAt(0);
    EXPECT_EQ(std::vector<int>(list.begin(), list.end()), (std::vector<int>{3, 4}));
    EXPECT_EQ(std::vector<int>(snapshot.begin(), snapshot.end()), (std::vector<int>{1, 2, 3, 2, 4}));
    EXPECT_EQ(list.indexOf(4), 1);
    list.clear();
    EXPECT_TRUE(list.isEmpty());
}

} // namespace
