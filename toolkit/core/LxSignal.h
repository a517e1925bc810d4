#pragma once
// LxSignal<Args...>: a multicast list of member-function callbacks. Each connection holds a weak
// reference to its receiver (an LxRttiObject or an LxSignalReceiver), so a destroyed receiver is
// never called: it is skipped by emissions and its connections are dropped by the next connect,
// disconnect or emit.
//
// emit calls the connections of a snapshot of the list, in connect order; connections added or
// removed by a callback take effect from the next emission. The signal itself may be destroyed by
// one of its callbacks: emit touches nothing of it after that.

#include <cstring>
#include <type_traits>

#include "LxContainers.h"
#include "LxWeakRef.h"

template <typename... Args>
class LxSignal {
public:
    LxSignal() = default;
    ~LxSignal() { disconnectAll(); }
    LxSignal(const LxSignal&) = delete;
    LxSignal& operator=(const LxSignal&) = delete;

    // Connects method of receiver; the same pair may be connected more than once and is then
    // called once per connection. Nothing happens for a null receiver or method.
    template <typename R, typename M>
    void connect(R* receiver, void (M::*method)(Args...))
    {
        static_assert(std::is_base_of_v<M, R>, "the method must belong to the receiver's class");
        if (!receiver || !method)
            return;
        removeDead();
        Connection connection;
        connection.receiver = LxWeakHandle(lxWeakAcquire(receiver));
        if (!connection.receiver.object())
            return;
        static_assert(sizeof(method) <= sizeof(connection.method), "member function pointer too large");
        std::memcpy(connection.method, &method, sizeof(method));
        connection.invoke = &invoke<R, M>;
        m_connections.append(std::move(connection));
    }

    // Removes every connection to receiver, and those whose receiver is dead.
    template <typename R>
    void disconnect(R* receiver)
    {
        void* stored = receiver ? lxWeakStored(receiver) : nullptr;
        m_connections.removeIf([stored](const Connection& c) {
            void* object = c.receiver.object();
            return !object || object == stored;
        });
    }

    void disconnectAll() { m_connections.clear(); }

    std::size_t connectionCount() const { return m_connections.size(); }

    void emit(Args... args)
    {
        removeDead();
        const LxList<Connection> snapshot = m_connections;
        for (const Connection& connection : snapshot) {
            if (void* object = connection.receiver.object())
                connection.invoke(object, connection.method, args...);
        }
    }

private:
    struct Connection {
        LxWeakHandle receiver;
        alignas(void*) unsigned char method[2 * sizeof(void*)];
        void (*invoke)(void* object, const unsigned char* method, Args... args);
    };

    template <typename R, typename M>
    static void invoke(void* object, const unsigned char* stored, Args... args)
    {
        void (M::*method)(Args...);
        std::memcpy(&method, stored, sizeof(method));
        M* receiver = lxWeakRestore<R>(object);
        (receiver->*method)(args...);
    }

    void removeDead()
    {
        m_connections.removeIf([](const Connection& c) { return c.receiver.object() == nullptr; });
    }

    LxList<Connection> m_connections;
};
