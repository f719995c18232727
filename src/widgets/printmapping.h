// Page units of a printed page and the printer's device pixels. A page is laid
// out in screen pixels at 96 per inch; the printer's resolution decides how many
// device pixels each unit covers, so a page looks the same on every printer.
#pragma once

class CPrintMapping {
public:
    static constexpr int SCREEN_DPI = 96;
    static constexpr int POINTS_PER_INCH = 72;

    // A printer at the screen's resolution: one device pixel per unit.
    CPrintMapping() = default;
    CPrintMapping(int nDeviceDpiX, int nDeviceDpiY);

    int DeviceDpiX() const { return m_nDpiX; }
    int DeviceDpiY() const { return m_nDpiY; }

    // A position or length in page units as device pixels, rounded to the nearest.
    int X(int x) const { return Scale(x, m_nDpiX, SCREEN_DPI); }
    int Y(int y) const { return Scale(y, m_nDpiY, SCREEN_DPI); }
    // The height of a font of nPoints points in device pixels.
    int FontPixels(int nPoints) const { return Scale(nPoints, m_nDpiY, POINTS_PER_INCH); }

    bool operator==(const CPrintMapping&) const = default;

private:
    static int Scale(int n, int nNumerator, int nDenominator);

    int m_nDpiX = SCREEN_DPI;
    int m_nDpiY = SCREEN_DPI;
};
