#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LxObject.h"
#include "LxRttiObject.h"

namespace {

std::vector<std::wstring> g_log;

// Logs its name, and whether it still had a parent, when it is destroyed.
class Node : public LxObject {
public:
    explicit Node(const wchar_t* name, LxObject* parent = nullptr) : LxObject(parent) { setObjectName(name); }
    ~Node() override
    {
        g_log.push_back(std::wstring(objectName().c_str()) + (parent() ? L"+parent" : L""));
        if (onDestroy)
            onDestroy();
    }
    std::function<void()> onDestroy;
};

std::vector<LxObject*> childrenOf(const LxObject& object)
{
    return std::vector<LxObject*>(object.children().begin(), object.children().end());
}

TEST(LxObject, DeletingAParentDeletesItsChildrenInOrder)
{
    g_log.clear();
    auto* root = new Node(L"root");
    auto* a = new Node(L"a", root);
    new Node(L"b", root);
    new Node(L"c", root);
    new Node(L"a1", a);

    delete root;

    // Each child is deleted after its parent's own destructor body, without a parent, in order.
    const std::vector<std::wstring> expected = {L"root", L"a", L"a1", L"b", L"c"};
    EXPECT_EQ(g_log, expected);
}

TEST(LxObject, SetParentAppendsOrKeepsPosition)
{
    Node p(L"p");
    Node q(L"q");
    auto* a = new Node(L"a", &p);
    auto* b = new Node(L"b", &p);
    auto* c = new Node(L"c", &p);

    a->setParent(&p);  // same parent: position kept
    EXPECT_EQ(childrenOf(p), (std::vector<LxObject*>{a, b, c}));
    a->setParent(a);   // itself: refused
    EXPECT_EQ(a->parent(), &p);

    a->setParent(&q);
    EXPECT_EQ(childrenOf(p), (std::vector<LxObject*>{b, c}));
    EXPECT_EQ(childrenOf(q), (std::vector<LxObject*>{a}));
    a->setParent(&p);  // a new parent puts it at the end
    EXPECT_EQ(childrenOf(p), (std::vector<LxObject*>{b, c, a}));

    b->setParent(nullptr);
    EXPECT_EQ(childrenOf(p), (std::vector<LxObject*>{c, a}));
    EXPECT_EQ(b->parent(), nullptr);
    delete b;
    EXPECT_TRUE(q.children().isEmpty());
}

TEST(LxObject, ChildDestructorMayDeleteOrMoveSiblings)
{
    g_log.clear();
    Node keeper(L"keeper");
    {
        Node root(L"root");
        auto* a = new Node(L"a", &root);
        auto* b = new Node(L"b", &root);
        auto* c = new Node(L"c", &root);
        a->onDestroy = [b] { delete b; };           // deleted by its sibling, once
        auto* d = new Node(L"d", &root);
        c->onDestroy = [d, &keeper] { d->setParent(&keeper); };  // moved away: survives root
    }
    const std::vector<std::wstring> expected = {L"root", L"a", L"b+parent", L"c"};
    EXPECT_EQ(g_log, expected);
    ASSERT_EQ(keeper.children().size(), 1u);
    EXPECT_EQ(keeper.children().first()->objectName(), LxString(L"d"));
}

TEST(LxObject, GuardedPointersReadNullAfterTheObjectDies)
{
    auto* node = new Node(L"n");
    LxGuardedPtr<Node> first(node);
    LxGuardedPtr<Node> copy(first);
    LxGuardedPtr<Node> other;
    {
        LxGuardedPtr<Node> shortLived(node);  // unregisters itself; its slot is reused
    }
    other = node;
    EXPECT_EQ(first.get(), node);
    delete node;
    EXPECT_EQ(first.get(), nullptr);
    EXPECT_EQ(copy.get(), nullptr);
    EXPECT_EQ(other.get(), nullptr);
}

TEST(LxObject, GuardedPointerMovedToAnotherObject)
{
    auto* a = new Node(L"a");
    auto* b = new Node(L"b");
    LxGuardedPtr<Node> guard(a);
    guard = b;
    delete a;
    EXPECT_EQ(guard.get(), b);
    delete b;
    EXPECT_EQ(guard.get(), nullptr);
}

} // namespace
