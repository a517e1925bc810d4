#pragma once
// Value types of the toolkit's geometry: integer rectangles with inclusive corners (LxRect),
// rectangles, points and sizes of doubles (LxRectF, LxPointF, LxSizeF), and the rounding of
// doubles to pixels (nearest integer, halves towards positive infinity).

#include <cmath>

inline int lxRound(double value)
{
    return static_cast<int>(std::floor(value + 0.5));
}

constexpr double kLxEpsilon = 1e-9;

inline bool lxFuzzyEqual(double a, double b)
{
    return std::fabs(a - b) < kLxEpsilon;
}

struct LxPointF {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const LxPointF& o) const { return lxFuzzyEqual(x, o.x) && lxFuzzyEqual(y, o.y); }
    bool operator!=(const LxPointF& o) const { return !(*this == o); }
};

struct LxSizeF {
    double width = 0.0;
    double height = 0.0;
};

// (left, top, right, bottom), right and bottom inclusive; the null rectangle is (0, 0, -1, -1).
struct LxRect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    static LxRect fromSize(int x, int y, int width, int height) { return {x, y, x + width - 1, y + height - 1}; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool isNull() const { return left == 0 && top == 0 && right == -1 && bottom == -1; }
    bool isEmpty() const { return right < left || bottom < top; }
    bool operator==(const LxRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const LxRect& o) const { return !(*this == o); }
};

// (x, y, width, height) in doubles.
struct LxRectF {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;

    double right() const { return x + width; }
    double bottom() const { return y + height; }
    bool isEmpty() const { return width <= kLxEpsilon || height <= kLxEpsilon; }
    LxRectF translated(double dx, double dy) const { return {x + dx, y + dy, width, height}; }
    // Rounded to pixels: inclusive corners of the rounded position and size.
    LxRect toRect() const { return LxRect::fromSize(lxRound(x), lxRound(y), lxRound(width), lxRound(height)); }
    // The smallest rectangle holding both; an empty operand is ignored.
    LxRectF united(const LxRectF& o) const
    {
        if (o.isEmpty())
            return *this;
        if (isEmpty())
            return o;
        const double l = x < o.x ? x : o.x;
        const double t = y < o.y ? y : o.y;
        const double r = right() > o.right() ? right() : o.right();
        const double b = bottom() > o.bottom() ? bottom() : o.bottom();
        return {l, t, r - l, b - t};
    }
    bool operator==(const LxRectF& o) const
    {
        return lxFuzzyEqual(x, o.x) && lxFuzzyEqual(y, o.y) && lxFuzzyEqual(width, o.width)
               && lxFuzzyEqual(height, o.height);
    }
    bool operator!=(const LxRectF& o) const { return !(*this == o); }
};

// Colour as red, green, blue, alpha bytes; argb() is the GDI+ value.
struct LxColor {
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    unsigned char a = 255;

    unsigned argb() const
    {
        return (static_cast<unsigned>(a) << 24) | (static_cast<unsigned>(r) << 16)
               | (static_cast<unsigned>(g) << 8) | b;
    }
    bool operator==(const LxColor& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const LxColor& o) const { return !(*this == o); }
};
