#include "PnmFiles.h"

#include <fstream>
#include <stdexcept>
#include <vector>

namespace halvera::testing {

namespace {

void WritePnm(const std::string& path, const char* magic, int width, int height,
              const std::vector<uint8_t>& samples) {
    std::ofstream file(path, std::ios::binary);
    file << magic << "\n" << width << " " << height << "\n255\n";
    file.write(reinterpret_cast<const char*>(samples.data()),
               static_cast<std::streamsize>(samples.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

} // namespace

void WritePpm(const std::string& path, int width, int height,
              const std::function<Bgr(int x, int y)>& colour) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Bgr pixel = colour(x, y);
            samples.insert(samples.end(), {pixel.red, pixel.green, pixel.blue});
        }
    }
    WritePnm(path, "P6", width, height, samples);
}

void WritePgm(const std::string& path, int width, int height,
              const std::function<uint8_t(int x, int y)>& value) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            samples.push_back(value(x, y));
    }
    WritePnm(path, "P5", width, height, samples);
}

} // namespace halvera::testing
