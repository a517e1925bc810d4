#pragma once
// LxTransform: a 2D affine transform (m11, m12, m21, m22, dx, dy). Points map as
// x' = m11*x + m21*y + dx, y' = m12*x + m22*y + dy; integer results round halves up.

#include "LxGeometry.h"

class LxTransform {
public:
    LxTransform() = default;
    LxTransform(double m11, double m12, double m21, double m22, double dx, double dy)
        : m11(m11), m12(m12), m21(m21), m22(m22), dx(dx), dy(dy)
    {
    }
    static LxTransform fromTranslate(double x, double y) { return {1, 0, 0, 1, x, y}; }

    bool isIdentity() const { return *this == LxTransform(); }
    bool isTranslating() const
    {
        return lxFuzzyEqual(m11, 1) && lxFuzzyEqual(m12, 0) && lxFuzzyEqual(m21, 0) && lxFuzzyEqual(m22, 1);
    }
    void setTranslation(double x, double y)
    {
        dx = x;
        dy = y;
    }

    LxPointF map(const LxPointF& p) const { return {m11 * p.x + m21 * p.y + dx, m12 * p.x + m22 * p.y + dy}; }
    // The bounding rectangle of the mapped corners.
    LxRectF mapRect(const LxRectF& r) const;
    // The inverse; the identity (and *invertible = false) when the determinant is 0.
    LxTransform inverted(bool* invertible = nullptr) const;
    // This transform followed by other.
    LxTransform operator*(const LxTransform& other) const;

    bool operator==(const LxTransform& o) const
    {
        return lxFuzzyEqual(m11, o.m11) && lxFuzzyEqual(m12, o.m12) && lxFuzzyEqual(m21, o.m21)
               && lxFuzzyEqual(m22, o.m22) && lxFuzzyEqual(dx, o.dx) && lxFuzzyEqual(dy, o.dy);
    }
    bool operator!=(const LxTransform& o) const { return !(*this == o); }

    double m11 = 1.0, m12 = 0.0, m21 = 0.0, m22 = 1.0, dx = 0.0, dy = 0.0;
};
