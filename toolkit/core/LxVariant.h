#pragma once
// LxVariant: the toolkit's value of one of a few kinds (none, bool, int, double, string, point,
// rectangle, colour), used by item properties and item notifications.

#include <variant>

#include "LxContainers.h"
#include "LxGeometry.h"

class LxVariant {
public:
    LxVariant() = default;
    LxVariant(bool v) : m_value(v) {}
    LxVariant(int v) : m_value(v) {}
    LxVariant(double v) : m_value(v) {}
    LxVariant(const LxString& v) : m_value(v) {}
    LxVariant(const wchar_t* v) : m_value(LxString(v)) {}
    LxVariant(const LxPointF& v) : m_value(v) {}
    LxVariant(const LxRectF& v) : m_value(v) {}
    LxVariant(const LxColor& v) : m_value(v) {}

    bool isValid() const { return m_value.index() != 0; }
    template <typename T>
    bool holds() const
    {
        return std::holds_alternative<T>(m_value);
    }
    // The value as T; a default T when it holds another kind (int and double convert).
    template <typename T>
    T value() const
    {
        if (const T* v = std::get_if<T>(&m_value))
            return *v;
        return T();
    }
    double toDouble() const
    {
        if (const int* i = std::get_if<int>(&m_value))
            return *i;
        return value<double>();
    }

    bool operator==(const LxVariant& o) const { return m_value == o.m_value; }
    bool operator!=(const LxVariant& o) const { return !(*this == o); }

private:
    std::variant<std::monostate, bool, int, double, LxString, LxPointF, LxRectF, LxColor> m_value;
};
