#include "LxTransform.h"

#include <algorithm>

LxRectF LxTransform::mapRect(const LxRectF& r) const
{
    const LxPointF corners[4] = {map({r.x, r.y}), map({r.right(), r.y}), map({r.x, r.bottom()}),
                                 map({r.right(), r.bottom()})};
    double left = corners[0].x, right = corners[0].x, top = corners[0].y, bottom = corners[0].y;
    for (const LxPointF& p : corners) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return {left, top, right - left, bottom - top};
}

LxTransform LxTransform::inverted(bool* invertible) const
{
    const double det = m11 * m22 - m12 * m21;
    if (invertible)
        *invertible = det != 0.0;
    if (det == 0.0)
        return LxTransform();
    const double i11 = m22 / det, i12 = -m12 / det, i21 = -m21 / det, i22 = m11 / det;
    return {i11, i12, i21, i22, -(i11 * dx + i21 * dy), -(i12 * dx + i22 * dy)};
}

LxTransform LxTransform::operator*(const LxTransform& o) const
{
    return {m11 * o.m11 + m12 * o.m21,
            m11 * o.m12 + m12 * o.m22,
            m21 * o.m11 + m22 * o.m21,
            m21 * o.m12 + m22 * o.m22,
            dx * o.m11 + dy * o.m21 + o.dx,
            dx * o.m12 + dy * o.m22 + o.dy};
}
