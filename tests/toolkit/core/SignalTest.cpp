#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LxRttiObject.h"
#include "LxSignal.h"
#include "LxWeakRef.h"

namespace {

std::vector<std::string> g_calls;

class Receiver : public LxRttiObject {
public:
    explicit Receiver(std::string name) : m_name(std::move(name)) {}
    void fire()
    {
        g_calls.push_back(m_name);
        if (action)
            action();
    }
    void value(int v, const char* text) { g_calls.push_back(m_name + ":" + std::to_string(v) + text); }
    std::function<void()> action;

private:
    std::string m_name;
};

class DerivedReceiver : public Receiver {
public:
    DerivedReceiver() : Receiver("derived") {}
};

class ServiceReceiver : public LxSignalReceiver {
public:
    void fire() { g_calls.push_back("service"); }
};

class SignalTest : public testing::Test {
protected:
    void SetUp() override { g_calls.clear(); }
    using Calls = std::vector<std::string>;
};

TEST_F(SignalTest, CallsEachConnectionInOrder)
{
    LxSignal<> signal;
    Receiver a("a");
    Receiver b("b");
    ServiceReceiver service;
    DerivedReceiver derived;
    signal.connect(&a, &Receiver::fire);
    signal.connect(&b, &Receiver::fire);
    signal.connect(&a, &Receiver::fire);  // twice: called twice
    signal.connect(&service, &ServiceReceiver::fire);
    signal.connect(&derived, &Receiver::fire);  // a method of the receiver's base class
    signal.emit();
    EXPECT_EQ(g_calls, (Calls{"a", "b", "a", "service", "derived"}));

    LxSignal<int, const char*> withArguments;
    withArguments.connect(&b, &Receiver::value);
    withArguments.emit(7, "x");
    EXPECT_EQ(g_calls.back(), "b:7x");
}

TEST_F(SignalTest, DestroyedReceiversAreNeverCalled)
{
    LxSignal<> signal;
    auto* a = new Receiver("a");
    auto* service = new ServiceReceiver;
    Receiver b("b");
    signal.connect(a, &Receiver::fire);
    signal.connect(service, &ServiceReceiver::fire);
    signal.connect(&b, &Receiver::fire);
    delete a;
    delete service;
    signal.emit();
    EXPECT_EQ(g_calls, (Calls{"b"}));
    EXPECT_EQ(signal.connectionCount(), 1u);  // the dead ones were dropped
}

TEST_F(SignalTest, ReceiverDestroyedDuringEmissionIsNotCalled)
{
    LxSignal<> signal;
    Receiver a("a");
    auto* b = new Receiver("b");
    Receiver c("c");
    a.action = [&b] {
        delete b;
        b = nullptr;
    };
    signal.connect(&a, &Receiver::fire);
    signal.connect(b, &Receiver::fire);
    signal.connect(&c, &Receiver::fire);
    signal.emit();
    EXPECT_EQ(g_calls, (Calls{"a", "c"}));
}

TEST_F(SignalTest, ChangesDuringEmissionTakeEffectNextTime)
{
    LxSignal<> signal;
    Receiver a("a");
    Receiver b("b");
    Receiver late("late");
    a.action = [&] {
        signal.disconnect(&b);
        signal.connect(&late, &Receiver::fire);
    };
    signal.connect(&a, &Receiver::fire);
    signal.connect(&b, &Receiver::fire);

    signal.emit();  // the snapshot still holds b and not yet late
    EXPECT_EQ(g_calls, (Calls{"a", "b"}));

    g_calls.clear();
    a.action = nullptr;
    signal.emit();
    EXPECT_EQ(g_calls, (Calls{"a", "late"}));
}

TEST_F(SignalTest, SignalDestroyedByItsOwnCallback)
{
    auto* signal = new LxSignal<>;
    Receiver a("a");
    Receiver b("b");
    a.action = [&signal] {
        delete signal;
        signal = nullptr;
    };
    signal->connect(&a, &Receiver::fire);
    signal->connect(&b, &Receiver::fire);
    signal->emit();
    EXPECT_EQ(g_calls, (Calls{"a", "b"}));
    EXPECT_EQ(signal, nullptr);
}

TEST_F(SignalTest, DisconnectRemovesEveryConnectionOfTheReceiver)
{
    LxSignal<> signal;
    Receiver a("a");
    Receiver b("b");
    signal.connect(&a, &Receiver::fire);
    signal.connect(&b, &Receiver::fire);
    signal.connect(&a, &Receiver::fire);
    signal.disconnect(&a);
    EXPECT_EQ(signal.connectionCount(), 1u);
    signal.emit();
    EXPECT_EQ(g_calls, (Calls{"b"}));
    signal.disconnectAll();
    signal.emit();
    EXPECT_EQ(g_calls, (Calls{"b"}));
}

} // namespace
