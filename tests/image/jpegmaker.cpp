#include "jpegmaker.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

// A script of exactly nScans scans covering every coefficient of 3 components:
// one DC scan, one AC scan for each of components 1 and 2, and the rest for
// component 0, first as narrower spectral bands, then as successive
// approximation passes of single coefficients.
std::vector<jpeg_scan_info> ScanScript(int nScans)
{
    std::vector<jpeg_scan_info> script;
    jpeg_scan_info dc{};
    dc.comps_in_scan = 3;
    dc.component_index[0] = 0;
    dc.component_index[1] = 1;
    dc.component_index[2] = 2;
    script.push_back(dc);
    for (int c = 1; c <= 2; ++c) {
        jpeg_scan_info ac{};
        ac.comps_in_scan = 1;
        ac.component_index[0] = c;
        ac.Ss = 1;
        ac.Se = 63;
        script.push_back(ac);
    }
    const int nRest = nScans - 3;
    auto add = [&script](int nSs, int nSe, int nAh, int nAl) {
        jpeg_scan_info ac{};
        ac.comps_in_scan = 1;
        ac.Ss = nSs;
        ac.Se = nSe;
        ac.Ah = nAh;
        ac.Al = nAl;
        script.push_back(ac);
    };
    if (nRest <= 63) {
        for (int b = 0; b < nRest; ++b)
            add(1 + b * 63 / nRest, (b + 1) * 63 / nRest, 0, 0);
        return script;
    }
    int nExtra = nRest - 63;
    for (int k = 1; k <= 63; ++k) {
        const int nPasses = 1 + std::min(10, nExtra);
        nExtra -= nPasses - 1;
        add(k, k, 0, nPasses - 1);
        for (int j = nPasses - 1; j >= 1; --j)
            add(k, k, j, j - 1);
    }
    return script;
}

} // namespace

Rgb BlockPattern(int x, int y)
{
    const int bx = x / 8;
    const int by = y / 8;
    return {static_cast<std::uint8_t>(16 + (by * 37) % 224), static_cast<std::uint8_t>(16 + (bx * 53) % 224),
            static_cast<std::uint8_t>(16 + ((bx + by) * 29) % 224)};
}

std::string MakeJpeg(const JpegOptions& o, const PixelFn& fnPixel)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* pOut = nullptr;
    unsigned long nOut = 0;
    jpeg_mem_dest(&info, &pOut, &nOut);

    info.image_width = static_cast<JDIMENSION>(o.nWidth);
    info.image_height = static_cast<JDIMENSION>(o.nHeight);
    const bool bFour = o.colour == JpegOptions::Colour::Cmyk || o.colour == JpegOptions::Colour::Ycck;
    info.input_components = o.colour == JpegOptions::Colour::Grey ? 1 : (bFour ? 4 : 3);
    info.in_color_space = o.colour == JpegOptions::Colour::Grey ? JCS_GRAYSCALE : (bFour ? JCS_CMYK : JCS_RGB);
    jpeg_set_defaults(&info);
    if (o.colour == JpegOptions::Colour::Ycck)
        jpeg_set_colorspace(&info, JCS_YCCK);
    jpeg_set_quality(&info, o.nQuality, TRUE);
    if (o.bFullChroma)
        for (int c = 0; c < info.num_components; ++c)
            info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    if (o.bProgressive)
        jpeg_simple_progression(&info);
    std::vector<jpeg_scan_info> script;
    if (o.nScans > 0) {
        script = ScanScript(o.nScans);
        info.scan_info = script.data();
        info.num_scans = static_cast<int>(script.size());
    }
    info.restart_in_rows = o.nRestartRows;

    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(o.nWidth) * static_cast<std::size_t>(info.input_components));
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < o.nWidth; ++x) {
            const Rgb px = fnPixel(x, y);
            JSAMPLE* p = &row[static_cast<std::size_t>(x) * static_cast<std::size_t>(info.input_components)];
            if (info.input_components == 1) {
                p[0] = px[0];
            } else {
                p[0] = px[0];
                p[1] = px[1];
                p[2] = px[2];
                if (info.input_components == 4)
                    p[3] = 0;
            }
        }
        JSAMPROW pRow = row.data();
        jpeg_write_scanlines(&info, &pRow, 1);
    }
    jpeg_finish_compress(&info);
    std::string strBytes(reinterpret_cast<const char*>(pOut), nOut);
    jpeg_destroy_compress(&info);
    std::free(pOut);
    return strBytes;
}
