#include "ScaleSmooth.h"

#include "host/base/HostError.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

// For one output position: the first source index and the weights from there.
struct Taps {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Taps> TapsFor(int sourceSize, int targetSize)
{
    const double scale = static_cast<double>(sourceSize) / targetSize;
    const double spread = std::max(scale, 1.0);
    std::vector<Taps> all(static_cast<std::size_t>(targetSize));
    for (int i = 0; i < targetSize; ++i) {
        const double centre = (i + 0.5) * scale;
        const int first = std::max(0, static_cast<int>(std::floor(centre - spread)));
        const int last = std::min(sourceSize - 1, static_cast<int>(std::ceil(centre + spread)));
        Taps& taps = all[static_cast<std::size_t>(i)];
        taps.first = first;
        double total = 0.0;
        for (int s = first; s <= last; ++s) {
            const double weight = std::max(0.0, 1.0 - std::abs((s + 0.5 - centre) / spread));
            taps.weights.push_back(weight);
            total += weight;
        }
        for (double& weight : taps.weights) {
            weight /= total;
        }
    }
    return all;
}

// Three channels per pixel, as doubles, for the passes between the two scalings.
using Planes = std::vector<double>;

std::uint32_t Pack(const double* channels)
{
    std::uint32_t pixel = 0;
    for (int c = 0; c < 3; ++c) {
        const auto value = static_cast<std::uint32_t>(std::clamp(std::lround(channels[c]), 0L, 255L));
        pixel = (pixel << 8) | value;
    }
    return pixel;
}

}  // namespace

PixelImage ScaleSmooth(const PixelImage& source, int width, int height)
{
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0 ||
        source.pixels.size() != static_cast<std::size_t>(source.width) * source.height) {
        throw HostError(5, u"Das Bild kann nicht auf diese Größe gebracht werden");
    }
    const std::vector<Taps> across = TapsFor(source.width, width);
    const std::vector<Taps> down = TapsFor(source.height, height);

    Planes wide(static_cast<std::size_t>(width) * source.height * 3, 0.0);
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Taps& taps = across[static_cast<std::size_t>(x)];
            double* out = &wide[(static_cast<std::size_t>(y) * width + x) * 3];
            for (std::size_t k = 0; k < taps.weights.size(); ++k) {
                const std::uint32_t pixel = source.At(taps.first + static_cast<int>(k), y);
                out[0] += taps.weights[k] * ((pixel >> 16) & 0xFF);
                out[1] += taps.weights[k] * ((pixel >> 8) & 0xFF);
                out[2] += taps.weights[k] * (pixel & 0xFF);
            }
        }
    }

    PixelImage result{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        const Taps& taps = down[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            double channels[3] = {0.0, 0.0, 0.0};
            for (std::size_t k = 0; k < taps.weights.size(); ++k) {
                const double* in = &wide[(static_cast<std::size_t>(taps.first + static_cast<int>(k)) * width + x) * 3];
                for (int c = 0; c < 3; ++c) {
                    channels[c] += taps.weights[k] * in[c];
                }
            }
            result.pixels[static_cast<std::size_t>(y) * width + x] = Pack(channels);
        }
    }
    return result;
}

}  // namespace qv
