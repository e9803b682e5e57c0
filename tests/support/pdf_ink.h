#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

// Where the ink of a printed PDF really lies: a page rendered by pdftoppm (poppler-utils) at
// 600 dpi and measured pixel by pixel, so a test sees the marks as the paper will carry them.
namespace velmora::testing {

struct InkPoint {
    double x = 0; // mm from the page's left edge
    double y = 0; // mm from its top edge
};

inline constexpr int kInkDpi = 600;

// A rendered page: one byte of grey a pixel, 0 black.
struct InkPage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> grey;

    bool Dark(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height &&
               grey[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)] < 128;
    }
};

// Renders the top-left `widthMm` x `heightMm` of page `page` (1-based) of `pdf`; `scratch` is a
// file name it may write. Empty when pdftoppm fails.
inline InkPage RenderPdfPage(const std::string& pdf, int page, double widthMm, double heightMm,
                             const std::string& scratch) {
    const auto pixels = [](double mm) { return static_cast<int>(std::ceil(mm * kInkDpi / 25.4)); };
    const std::string command =
        "pdftoppm -gray -singlefile -r " + std::to_string(kInkDpi) + " -f " + std::to_string(page) +
        " -l " + std::to_string(page) + " -x 0 -y 0 -W " + std::to_string(pixels(widthMm)) +
        " -H " + std::to_string(pixels(heightMm)) + " '" + pdf + "' '" + scratch + "' 2>/dev/null";
    InkPage result;
    if (std::system(command.c_str()) != 0) {
        return result;
    }
    std::ifstream in(scratch + ".pgm", std::ios::binary);
    std::string magic;
    int maxGrey = 0;
    in >> magic >> result.width >> result.height >> maxGrey;
    in.get(); // the one blank before the pixels
    if (magic != "P5" || maxGrey != 255 || result.width <= 0 || result.height <= 0) {
        return {};
    }
    result.grey.resize(static_cast<std::size_t>(result.width) *
                       static_cast<std::size_t>(result.height));
    in.read(reinterpret_cast<char*>(result.grey.data()),
            static_cast<std::streamsize>(result.grey.size()));
    return in ? result : InkPage{};
}

// The middle of the box of the dark pixels within `radiusMm` of `around` (a square window);
// nothing when the window holds no ink.
inline std::optional<InkPoint> InkCentre(const InkPage& page, InkPoint around, double radiusMm) {
    const double perMm = kInkDpi / 25.4;
    const int x0 = static_cast<int>((around.x - radiusMm) * perMm);
    const int x1 = static_cast<int>((around.x + radiusMm) * perMm);
    const int y0 = static_cast<int>((around.y - radiusMm) * perMm);
    const int y1 = static_cast<int>((around.y + radiusMm) * perMm);
    int left = x1 + 1;
    int right = x0 - 1;
    int top = y1 + 1;
    int bottom = y0 - 1;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (page.Dark(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < left) {
        return std::nullopt;
    }
    // Pixel i covers i .. i + 1.
    return InkPoint{(left + right + 1) / 2.0 / perMm, (top + bottom + 1) / 2.0 / perMm};
}

} // namespace velmora::testing
