#include <gtest/gtest.h>

#include "LxApplication.h"
#include "LxEvent.h"
#include "LxEventSignalDispatch.h"
#include "LxRttiObject.h"
#include "LxTimer.h"
#include "LxWindow.h"
#include "MemPool.h"

namespace {

class TestShape : public LxRttiObject {
    LX_DECLARE_CLASS(TestShape)

public:
    virtual int corners() const = 0;
};
class TestSquare : public TestShape {
    LX_DECLARE_CLASS(TestSquare)

public:
    int corners() const override { return 4; }
    double side = 1.5;
};
class TestEventA : public LxEvent {
    LX_DECLARE_CLASS(TestEventA)
};
class TestEventB : public LxEvent {
    LX_DECLARE_CLASS(TestEventB)
};
// Takes the tag of TestSquare: it stays out of the registry but works through its accessor.
class TestSameTag : public LxRttiObject {
    LX_DECLARE_CLASS(TestSameTag)
};

LX_DEFINE_ABSTRACT_CLASS(TestShape, lxTypeTag("TSHP"), LxRttiObject)
LX_DEFINE_CLASS(TestSquare, lxTypeTag("TSQR"), TestShape)
LX_DEFINE_CLASS(TestEventA, 0, LxEvent)
LX_DEFINE_CLASS(TestEventB, 0, LxEvent)
LX_DEFINE_CLASS(TestSameTag, lxTypeTag("TSQR"), LxRttiObject)

namespace other {
// Same class name as the one above.
class TestSquare : public LxRttiObject {
    LX_DECLARE_CLASS(TestSquare)
};
LX_DEFINE_CLASS(TestSquare, lxTypeTag("OSQR"), LxRttiObject)
} // namespace other

TEST(ClassInfo, RecordsCarryNameTagAndBase)
{
    EXPECT_EQ(lxTypeTag("TIMR"), 0x54494D52);
    struct Row {
        const LxClassInfo* info;
        const wchar_t* name;
        LxTypeId tag;
        const LxClassInfo* base;
        bool factory;
    };
    const Row rows[] = {
        {LxRttiObject::staticClassInfo(), L"LxRttiObject", lxTypeTag("LROT"), nullptr, false},
        {LxApplication::staticClassInfo(), L"LxApplication", lxTypeTag("LAPP"), LxRttiObject::staticClassInfo(), true},
        {LxTimer::staticClassInfo(), L"LxTimer", lxTypeTag("TIMR"), LxRttiObject::staticClassInfo(), true},
        {LxEventSignalDispatch::staticClassInfo(), L"LxEventSignalDispatch", lxTypeTag("ESDH"),
         LxRttiObject::staticClassInfo(), true},
        {LxWindow::staticClassInfo(), L"LxWindow", lxTypeTag("WINW"), LxRttiObject::staticClassInfo(), true},
        {TestShape::staticClassInfo(), L"TestShape", lxTypeTag("TSHP"), LxRttiObject::staticClassInfo(), false},
        {TestSquare::staticClassInfo(), L"TestSquare", lxTypeTag("TSQR"), TestShape::staticClassInfo(), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.name)));
        ASSERT_NE(row.info, nullptr);
        EXPECT_STREQ(row.info->className(), row.name);
        EXPECT_EQ(row.info->typeId(), row.tag);
        EXPECT_EQ(row.info->base(), row.base);
        EXPECT_EQ(row.info->hasFactory(), row.factory);
        EXPECT_EQ(LxClassInfo::find(row.name), row.info);
        EXPECT_EQ(LxClassInfo::findById(row.tag), row.info);
    }
    EXPECT_EQ(TestSquare::staticClassInfo()->instanceSize(), sizeof(TestSquare));
}

TEST(ClassInfo, EventClassesGetCountedIds)
{
    const LxTypeId a = TestEventA::staticClassInfo()->typeId();
    const LxTypeId b = TestEventB::staticClassInfo()->typeId();
    const LxTypeId base = LxEvent::staticClassInfo()->typeId();
    for (LxTypeId id : {a, b, base}) {
        EXPECT_GE(id, 1);
        EXPECT_LT(id, 1000);  // counted, not a four-character tag
    }
    EXPECT_NE(a, b);
    EXPECT_NE(a, base);
    EXPECT_EQ(LxClassInfo::findById(a), TestEventA::staticClassInfo());
}

TEST(ClassInfo, DuplicatesStayOutOfTheRegistry)
{
    // Same tag as TestSquare: not found by its name or tag, yet usable.
    EXPECT_EQ(LxClassInfo::find(L"TestSameTag"), nullptr);
    EXPECT_EQ(LxClassInfo::findById(lxTypeTag("TSQR")), TestSquare::staticClassInfo());
    TestSameTag sameTag;
    EXPECT_EQ(sameTag.classInfo(), TestSameTag::staticClassInfo());
    EXPECT_TRUE(sameTag.inherits(TestSameTag::staticClassInfo()));

    // Same name as TestSquare: the name keeps meaning the first class.
    EXPECT_EQ(LxClassInfo::find(L"TestSquare"), TestSquare::staticClassInfo());
    EXPECT_EQ(LxClassInfo::findById(lxTypeTag("OSQR")), nullptr);
}

TEST(ClassInfo, TypeTestsWalkTheChain)
{
    TestSquare square;
    LxRttiObject* object = &square;
    struct Row {
        const LxClassInfo* info;
        bool inherits;
    };
    const Row rows[] = {{TestSquare::staticClassInfo(), true},
                        {TestShape::staticClassInfo(), true},
                        {LxRttiObject::staticClassInfo(), true},
                        {LxTimer::staticClassInfo(), false},
                        {TestSameTag::staticClassInfo(), false},
                        {nullptr, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.info ? testing::PrintToString(std::wstring(row.info->className())) : "null");
        EXPECT_EQ(object->inherits(row.info), row.inherits);
    }
    EXPECT_TRUE(object->inherits(L"TestShape"));
    EXPECT_FALSE(object->inherits(L"LxTimer"));
    EXPECT_FALSE(object->inherits(L"NoSuchClass"));
    EXPECT_FALSE(TestShape::staticClassInfo()->isA(TestSquare::staticClassInfo()));

    EXPECT_EQ(lx_cast<TestShape>(object), &square);
    EXPECT_EQ(lx_cast<TestSquare>(object), &square);
    EXPECT_EQ(lx_cast<TestSameTag>(object), nullptr);
    EXPECT_EQ(lx_cast<TestShape>(static_cast<LxRttiObject*>(nullptr)), nullptr);
}

TEST(ClassInfo, CreateByNameTakesMemoryFromThePool)
{
    const LxClassInfo* info = LxClassInfo::find(L"TestSquare");
    ASSERT_NE(info, nullptr);
    LxRttiObject* created = info->create();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->classInfo(), TestSquare::staticClassInfo());
    EXPECT_TRUE(mp_owns(created));
    EXPECT_EQ(lx_cast<TestShape>(created)->corners(), 4);
    EXPECT_EQ(static_cast<TestSquare*>(created)->side, 1.5);
    delete created;  // back to the pool through the class's own deleting destructor

    // A class with two bases: the allocation starts at the complete object.
    LxRttiObject* timer = LxClassInfo::find(L"LxTimer")->create();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->inherits(LxTimer::staticClassInfo()));
    EXPECT_TRUE(mp_owns(dynamic_cast<void*>(timer)));
    delete timer;

    EXPECT_EQ(LxClassInfo::find(L"TestShape")->create(), nullptr);  // abstract
    EXPECT_EQ(LxClassInfo::find(L"NoSuchClass"), nullptr);

    void* block = info->allocate();
    EXPECT_TRUE(mp_owns(block));
    EXPECT_GE(mp_size(block), sizeof(TestSquare));
    LxClassInfo::release(block);
}

} // namespace
