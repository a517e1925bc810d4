#include <memory>

#include <gtest/gtest.h>

#include "LxEvent.h"
#include "LxEventSignalDispatch.h"

namespace {

class ClickEvent : public LxEvent {
    LX_DECLARE_CLASS(ClickEvent)
};
class DoubleClickEvent : public ClickEvent {
    LX_DECLARE_CLASS(DoubleClickEvent)
};
LX_DEFINE_CLASS(ClickEvent, 0, LxEvent)
LX_DEFINE_CLASS(DoubleClickEvent, 0, ClickEvent)

class Target : public LxRttiObject {};

class Handler : public LxRttiObject {
public:
    void onClick(LxRttiObject* target, LxEvent* event)
    {
        ++calls;
        lastTarget = target;
        event->setAccepted(accept);
    }
    bool accept = true;
    int calls = 0;
    LxRttiObject* lastTarget = nullptr;
};

TEST(LxEventSignalDispatch, WithoutConnectionsReturnsFalseAndLeavesTheEvent)
{
    LxEventSignalDispatch table;
    ClickEvent event;
    event.accept();
    EXPECT_FALSE(table.dispatch(nullptr, &event));
    EXPECT_TRUE(event.isAccepted());
    EXPECT_EQ(table.signal(ClickEvent::staticClassInfo()), nullptr);
}

TEST(LxEventSignalDispatch, ReturnsWhatTheHandlersLeft)
{
    LxEventSignalDispatch table;
    Handler first;
    Handler second;
    Target target;
    table.connect(ClickEvent::staticClassInfo(), &first, &Handler::onClick);
    table.connect(ClickEvent::staticClassInfo(), &second, &Handler::onClick);

    struct Row {
        bool first, second, result;
    };
    const Row rows[] = {{true, true, true}, {true, false, false}, {false, true, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.first << row.second);
        first.accept = row.first;
        second.accept = row.second;
        ClickEvent event;
        EXPECT_EQ(table.dispatch(&target, &event), row.result);
    }
    EXPECT_EQ(first.calls, 3);
    EXPECT_EQ(second.lastTarget, &target);
}

TEST(LxEventSignalDispatch, MatchesTheExactEventClassOnly)
{
    LxEventSignalDispatch table;
    Handler handler;
    table.connect(ClickEvent::staticClassInfo(), &handler, &Handler::onClick);
    DoubleClickEvent derived;
    EXPECT_FALSE(table.dispatch(nullptr, &derived));
    EXPECT_EQ(handler.calls, 0);

    table.disconnect(ClickEvent::staticClassInfo(), &handler);
    ClickEvent click;
    EXPECT_FALSE(table.dispatch(nullptr, &click));  // the signal exists but calls nobody
    EXPECT_EQ(handler.calls, 0);
}

TEST(LxEventSignalDispatch, DeadHandlerIsSkipped)
{
    auto table = std::unique_ptr<LxRttiObject>(LxClassInfo::find(L"LxEventSignalDispatch")->create());
    auto* dispatch = lx_cast<LxEventSignalDispatch>(table.get());
    ASSERT_NE(dispatch, nullptr);
    EXPECT_EQ(dispatch->owner(), 0);
    auto* handler = new Handler;
    dispatch->connect(ClickEvent::staticClassInfo(), handler, &Handler::onClick);
    delete handler;
    ClickEvent event;
    EXPECT_FALSE(dispatch->dispatch(nullptr, &event));
}

} // namespace
