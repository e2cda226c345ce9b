// Reading and writing a 4096 x 4096 picture as BMP and JPEG files in a
// temporary folder. Writes include flushing the file to disk, as every save does.
#include "BenchImages.h"
#include "image/BmpFile.h"
#include "image/JpegFile.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace halvera {
namespace {

constexpr int kJpegQuality = 75;

// A folder for the benchmark's files, removed when the program ends.
class BenchFolder {
public:
    BenchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("halvera-bench-files-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const char* name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

const BenchFolder& Folder() {
    static const BenchFolder folder;
    return folder;
}

const DibBlock& Picture() {
    static const DibBlock picture = bench::MakeTestImage();
    return picture;
}

void Require(bool done, const char* what) {
    if (!done)
        throw std::runtime_error(what);
}

void BM_CBmpFile_Read(benchmark::State& state) {
    const std::string path = Folder().file("read.bmp");
    Require(CBmpFile().Write(path, Picture().dib()), "benchmark BMP could not be written");
    for (auto _ : state) {
        PackedDib dib = CBmpFile().ReadPackedDib(path);
        Require(static_cast<bool>(dib), "benchmark BMP could not be read");
        benchmark::DoNotOptimize(dib.data());
    }
    bench::ReportMegapixels(state, Picture().width(), Picture().height());
}
BENCHMARK(BM_CBmpFile_Read)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CBmpFile_Write(benchmark::State& state) {
    const std::string path = Folder().file("write.bmp");
    for (auto _ : state)
        Require(CBmpFile().Write(path, Picture().dib()), "benchmark BMP could not be written");
    bench::ReportMegapixels(state, Picture().width(), Picture().height());
}
BENCHMARK(BM_CBmpFile_Write)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CJpegFile_Read(benchmark::State& state) {
    const std::string path = Folder().file("read.jpg");
    Require(CJpegFile().Write(path, Picture().dib(), kJpegQuality),
            "benchmark JPEG could not be written");
    for (auto _ : state) {
        PackedDib dib = CJpegFile().ReadPackedDib(path);
        Require(static_cast<bool>(dib), "benchmark JPEG could not be read");
        benchmark::DoNotOptimize(dib.data());
    }
    bench::ReportMegapixels(state, Picture().width(), Picture().height());
}
BENCHMARK(BM_CJpegFile_Read)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CJpegFile_Write(benchmark::State& state) {
    const std::string path = Folder().file("write.jpg");
    for (auto _ : state)
        Require(CJpegFile().Write(path, Picture().dib(), kJpegQuality),
                "benchmark JPEG could not be written");
    bench::ReportMegapixels(state, Picture().width(), Picture().height());
}
BENCHMARK(BM_CJpegFile_Write)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace halvera
