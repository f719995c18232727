#include "widgets/printmapping.h"

#include <algorithm>
#include <climits>

namespace {

// A printer reports a resolution of at least this; anything below (0, a broken
// driver) is taken as the screen's.
constexpr int MIN_DPI = 1;
constexpr int MAX_DPI = 100000;

int ValidDpi(int nDpi)
{
    return nDpi >= MIN_DPI && nDpi <= MAX_DPI ? nDpi : CPrintMapping::SCREEN_DPI;
}

} // namespace

CPrintMapping::CPrintMapping(int nDeviceDpiX, int nDeviceDpiY) : m_nDpiX(ValidDpi(nDeviceDpiX)), m_nDpiY(ValidDpi(nDeviceDpiY))
{
}

int CPrintMapping::Scale(int n, int nNumerator, int nDenominator)
{
    const long long nProduct = static_cast<long long>(n) * nNumerator;
    const long long nHalf = nDenominator / 2;
    const long long nScaled = nProduct >= 0 ? (nProduct + nHalf) / nDenominator : -((-nProduct + nHalf) / nDenominator);
    return static_cast<int>(std::clamp<long long>(nScaled, INT_MIN / 2, INT_MAX / 2));
}
