#include "DrawingFixture.h"

#include <algorithm>
#include <cstdlib>

int DrawingTest::maxAlpha(const LxOffscreenLayer& layer)
{
    int result = 0;
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x)
            result = std::max(result, static_cast<int>(layer.pixel(x, y).a));
    return result;
}

int DrawingTest::paintedPixels(const LxOffscreenLayer& layer)
{
    int count = 0;
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x)
            count += layer.pixel(x, y).a != 0;
    return count;
}

::testing::AssertionResult colorNear(const LxColor& actual, const LxColor& expected, int tolerance)
{
    const bool close = std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance
                      && std::abs(actual.b - expected.b) <= tolerance && std::abs(actual.a - expected.a) <= tolerance;
    if (close)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "colour (" << int(actual.r) << ", " << int(actual.g) << ", "
                                         << int(actual.b) << ", " << int(actual.a) << "), expected ("
                                         << int(expected.r) << ", " << int(expected.g) << ", " << int(expected.b)
                                         << ", " << int(expected.a) << ")";
}
