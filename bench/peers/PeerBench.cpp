// Halvera's pixel operations side by side with OpenCV's nearest equivalents,
// single thread each, on the same 4096 x 4096 photographic picture in one
// process. Each pair is timed in alternating rounds; the line shows the median
// megapixels per second of both and the median of the per-round ratios
// (Halvera / OpenCV), with the ratio the operation is meant to reach.
//
//   peer_bench [--rounds N] [--filter TEXT] [--threads N]
//
// With --threads N no OpenCV runs: each selected pair's Halvera side is timed
// with one pixel worker and with N in alternating rounds, and the line shows
// the best round of each and their ratio, then the median of the per-round
// ratios: how the row bands share a multicore machine. Other processes only
// ever slow a round down, so on a shared machine the best rounds say most.
#include "PhotographicImage.h"
#include "image/JpegFile.h"
#include "image/RowBands.h"
#include "processing/ApplyBrightness.h"
#include "processing/ApplyColorBalance.h"
#include "processing/ApplyContrast.h"
#include "processing/ApplyHueSaturation.h"
#include "processing/BrightnessContrastTables.h"
#include "processing/EdgeLaplace.h"
#include "processing/EdgeSobel.h"
#include "processing/FilterAverage.h"
#include "processing/FilterLowPass.h"
#include "processing/FilterMedian.h"
#include "processing/GrayscaleImage.h"
#include "processing/ImageArithmetic.h"
#include "processing/InvertImage.h"
#include "processing/MeanGray.h"
#include "warping/FlipHorizontal.h"
#include "warping/FlipVertical.h"
#include "warping/ScaleRect.h"
#include "warping/WarpGeometry.h"
#include "warping/WarpQuad.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numbers>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace halvera::peers {
namespace {

constexpr int kSide = 4096;
constexpr int kJpegQuality = 75;
constexpr double kMinRoundSeconds = 0.15;

void Require(bool done, const char* what) {
    if (!done)
        throw std::runtime_error(what);
}

// The operands both sides work on. OpenCV's matrices are views of Halvera's
// blocks (rows top-down through the stride; the order changes no timing), so
// both read and write the very same memory and neither gains from where its
// buffers happen to lie.
struct Operands {
    DibBlock picture = MakePhotographicImage(kSide, kSide, 1);
    DibBlock other = MakePhotographicImage(kSide, kSide, 2);
    DibBlock image;
    DibBlock working;
    DibBlock mask;
    DibBlock savedMask;
    cv::Mat source;
    cv::Mat second;
    cv::Mat target;
    std::filesystem::path folder;

    Operands() {
        Require(CreateRgb(image, kSide, kSide) && CreateRgb(working, kSide, kSide) &&
                    CreateGrey(mask, kSide, kSide) && CreateGrey(savedMask, kSide, kSide),
                "peer benchmark buffers could not be created");
        source = ViewOf(working.dib());
        second = ViewOf(other.dib());
        target = ViewOf(image.dib());
        Reset();
        // tmpfs when there is one: the save's flush to disk is not what is compared.
        const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        folder = base / ("halvera-peers-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
    }
    ~Operands() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    void Reset() {
        CopyBlock(image.dib(), picture.dib());
        CopyBlock(working.dib(), picture.dib());
    }
    // The rows of `dib` as a matrix, the top row first; no pixels are copied.
    static cv::Mat ViewOf(const CDibImage& dib) {
        return cv::Mat(dib.height, dib.width(), CV_8UC3, dib.row(dib.height - 1),
                       static_cast<size_t>(dib.stride));
    }
    std::string file(const char* name) const { return (folder / name).string(); }
};

struct Pair {
    std::string name;
    double target;     // the ratio Halvera / OpenCV the operation should reach
    double megapixels; // output pixels of one run
    std::function<void()> halvera;
    std::function<void()> opencv;
};

// Seconds per run of `work`, repeated for at least kMinRoundSeconds.
double SecondsPerRun(const std::function<void()>& work) {
    using Clock = std::chrono::steady_clock;
    int runs = 0;
    const auto start = Clock::now();
    double elapsed = 0.0;
    do {
        work();
        ++runs;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < kMinRoundSeconds);
    return elapsed / runs;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

QuadCorners RotatedFrame(double degrees) {
    const QuadCorners frame = RegionBoxCorners(PixelRect{0, 0, kSide - 1, kSide - 1});
    const double angle = degrees * std::numbers::pi / 180.0;
    const double centre = kSide / 2.0;
    QuadCorners rotated{};
    for (size_t k = 0; k < frame.size(); ++k) {
        const double dx = frame[k].x - centre, dy = frame[k].y - centre;
        rotated[k] =
            PixelPoint{static_cast<int32_t>(centre + dx * std::cos(angle) + dy * std::sin(angle)),
                       static_cast<int32_t>(centre - dx * std::sin(angle) + dy * std::cos(angle))};
    }
    return rotated;
}

std::vector<cv::Point2f> Points(const QuadCorners& quad) {
    std::vector<cv::Point2f> points;
    for (const PixelPoint& p : quad)
        points.emplace_back(static_cast<float>(p.x), static_cast<float>(p.y));
    return points;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<Pair> MakePairs(Operands& o) {
    const double whole = double{kSide} * kSide / 1e6;
    const double half = whole / 4.0;
    std::vector<Pair> pairs;
    const auto add = [&](std::string name, double target, double megapixels,
                         std::function<void()> halvera, std::function<void()> opencv) {
        pairs.push_back(
            {std::move(name), target, megapixels, std::move(halvera), std::move(opencv)});
    };
    const CDibImage image = o.image.dib(), working = o.working.dib(), other = o.other.dib();
    const CDibImage noMask{};
    cv::Mat& src = o.source;
    cv::Mat& dst = o.target;

    add(
        "invert / bitwise_not", 0.9, whole, [=] { InvertImage(image, noMask); },
        [&] { cv::bitwise_not(src, dst); });
    add(
        "grayscale / cvtColor to grey and back", 0.8, whole, [=] { GrayscaleImage(image, noMask); },
        [&] {
            cv::Mat grey;
            cv::cvtColor(src, grey, cv::COLOR_BGR2GRAY);
            cv::cvtColor(grey, dst, cv::COLOR_GRAY2BGR);
        });
    add(
        "mean grey / mean", 0.8, whole, [=] { (void)MeanGray(working, noMask); },
        [&] { (void)cv::mean(src); });

    auto tables = std::make_shared<BrightnessContrastTables>();
    const auto lutOf = [](const LevelTable& levels) {
        cv::Mat lut(1, 256, CV_8U);
        std::copy(levels.begin(), levels.end(), lut.ptr());
        return lut;
    };
    BrightnessContrastTables brightness;
    brightness.SetBrightness(30);
    const cv::Mat brightnessLut = lutOf(brightness.Levels());
    add(
        "brightness / LUT", 1.0, whole,
        [=] { ApplyBrightness(*tables, image, working, noMask, 30); },
        [&, brightnessLut] { cv::LUT(src, brightnessLut, dst); });
    BrightnessContrastTables contrast;
    contrast.SetContrast(128, 40);
    const cv::Mat contrastLut = lutOf(contrast.Levels());
    add(
        "contrast / LUT", 1.0, whole,
        [=] { ApplyContrast(*tables, image, working, noMask, 128, 40); },
        [&, contrastLut] { cv::LUT(src, contrastLut, dst); });
    cv::Mat balanceLut(1, 256, CV_8UC3);
    for (int v = 0; v < 256; ++v)
        balanceLut.at<cv::Vec3b>(0, v) =
            cv::Vec3b(cv::saturate_cast<uint8_t>(v + 51), cv::saturate_cast<uint8_t>(v - 76),
                      cv::saturate_cast<uint8_t>(v + 127));
    add(
        "colour balance / LUT", 1.0, whole,
        [=] { ApplyColorBalance(image, working, noMask, 127, -76, 51); },
        [&, balanceLut] { cv::LUT(src, balanceLut, dst); });
    add(
        "hue-saturation / HSV round trip", 1.0, whole,
        [=] { ApplyHueSaturation(image, working, noMask, 40, 25, -12); },
        [&] {
            cv::Mat hsv;
            cv::cvtColor(src, hsv, cv::COLOR_BGR2HSV_FULL);
            cv::cvtColor(hsv, dst, cv::COLOR_HSV2BGR_FULL);
        });

    const cv::Mat lowPass = (cv::Mat_<float>(3, 3) << 2, 3, 2, 3, 5, 3, 2, 3, 2) / 25.0f;
    add(
        "low pass / filter2D 3x3", 1.0, whole, [=] { FilterLowPass(image, working, noMask); },
        [&, lowPass] {
            cv::filter2D(src, dst, -1, lowPass, cv::Point(-1, -1), 0, cv::BORDER_REPLICATE);
        });
    add(
        "average / blur 5x5", 1.0, whole, [=] { FilterAverage(image, working, noMask, 4); },
        [&] { cv::blur(src, dst, cv::Size(5, 5)); });
    add(
        "median / medianBlur 3", 0.5, whole, [=] { FilterMedian(image, working, noMask); },
        [&] { cv::medianBlur(src, dst, 3); });
    add(
        "Sobel / Sobel x+y", 1.0, whole, [=] { EdgeSobel(image, working, noMask); },
        [&] {
            cv::Mat gx, gy, ax, ay;
            cv::Sobel(src, gx, CV_16S, 1, 0, 3, 1, 0, cv::BORDER_REPLICATE);
            cv::Sobel(src, gy, CV_16S, 0, 1, 3, 1, 0, cv::BORDER_REPLICATE);
            cv::convertScaleAbs(gx, ax);
            cv::convertScaleAbs(gy, ay);
            cv::add(ax, ay, dst);
        });
    add(
        "Laplace / Laplacian", 1.0, whole, [=] { EdgeLaplace(image, working, noMask); },
        [&] { cv::Laplacian(src, dst, CV_8U, 1, 1, 0, cv::BORDER_REPLICATE); });

    const CDibImage mask = o.mask.dib(), savedMask = o.savedMask.dib();
    add(
        "flip top-bottom / flip 0", 0.8, whole,
        [=] { FlipHorizontal(image, working, mask, savedMask); }, [&] { cv::flip(src, dst, 0); });
    add(
        "flip left-right / flip 1", 0.8, whole,
        [=] { FlipVertical(image, working, mask, savedMask); }, [&] { cv::flip(src, dst, 1); });

    const PixelRect centre{kSide / 4, kSide / 4, 3 * kSide / 4 - 1, 3 * kSide / 4 - 1};
    const PixelRect all{0, 0, kSide - 1, kSide - 1};
    add(
        "ScaleRect up x2 / resize bilinear", 0.8, whole,
        [=] { ScaleRect(image, working, mask, savedMask, centre, all); },
        [&] {
            cv::resize(src(cv::Rect(kSide / 4, kSide / 4, kSide / 2, kSide / 2)), dst,
                       cv::Size(kSide, kSide), 0, 0, cv::INTER_LINEAR);
        });
    add(
        "ScaleRect down /2 / resize bilinear", 0.8, half,
        [=] {
            ScaleRect(image, working, mask, savedMask, all,
                      PixelRect{0, 0, kSide / 2 - 1, kSide / 2 - 1});
        },
        [&] {
            cv::Mat small;
            cv::resize(src, small, cv::Size(kSide / 2, kSide / 2), 0, 0, cv::INTER_LINEAR);
        });

    const QuadCorners frame = RegionBoxCorners(all);
    const int last = kSide - 1;
    const QuadCorners rotated = RotatedFrame(30.0);
    const QuadCorners perspective{{{last - 600, 300}, {500, 0}, {0, last}, {last, last - 400}}};
    for (const auto& [name, quad] :
         {std::pair{"WarpQuad rotate 30 / warpPerspective", rotated},
          std::pair{"WarpQuad perspective / warpPerspective", perspective}}) {
        const cv::Mat matrix = cv::getPerspectiveTransform(Points(frame), Points(quad));
        add(
            name, 1.0, whole, [=] { WarpQuad(image, working, mask, savedMask, frame, quad); },
            [&, matrix] {
                cv::warpPerspective(src, dst, matrix, src.size(), cv::INTER_LINEAR,
                                    cv::BORDER_TRANSPARENT);
            });
    }

    ArithmeticSettings blend;
    blend.operation = ArithmeticOperation::Add;
    blend.transparency = 50;
    add(
        "arithmetic blend 50% / addWeighted", 0.8, whole,
        [=] { ImageArithmetic(image, working, noMask, other, blend); },
        [&] { cv::addWeighted(src, 0.5, o.second, 0.5, 0.0, dst); });
    ArithmeticSettings sub;
    sub.operation = ArithmeticOperation::Sub;
    add(
        "Sub / absdiff", 0.8, whole, [=] { ImageArithmetic(image, working, noMask, other, sub); },
        [&] { cv::absdiff(src, o.second, dst); });

    const std::string jpeg = o.file("picture.jpg");
    Require(CJpegFile().Write(jpeg, o.picture.dib(), kJpegQuality),
            "peer benchmark JPEG could not be written");
    add(
        "JPEG decode / imdecode", 0.9, whole,
        [jpeg] { Require(static_cast<bool>(CJpegFile().ReadPackedDib(jpeg)), "JPEG read"); },
        [&, jpeg] {
            const std::vector<uint8_t> bytes = ReadBytes(jpeg);
            const cv::Mat decoded = cv::imdecode(bytes, cv::IMREAD_COLOR);
            Require(!decoded.empty(), "JPEG decode");
        });
    const std::string written = o.file("written.jpg");
    const CDibImage picture = o.picture.dib();
    add(
        "JPEG encode / imencode", 0.9, whole,
        [=] { Require(CJpegFile().Write(written, picture, kJpegQuality), "JPEG write"); },
        [&, written] {
            std::vector<uint8_t> bytes;
            cv::imencode(".jpg", src, bytes, {cv::IMWRITE_JPEG_QUALITY, kJpegQuality});
            std::ofstream(written, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        });
    return pairs;
}

int Run(int rounds, const std::string& filter) {
    cv::setNumThreads(1);
    SetPixelWorkerCount(1);
    Operands operands;
    std::vector<Pair> pairs = MakePairs(operands);
    std::printf("%-42s %12s %12s %7s %7s\n", "Halvera / OpenCV (4096 x 4096, one thread)",
                "Halvera MP/s", "OpenCV MP/s", "ratio", "target");
    int below = 0;
    for (const Pair& pair : pairs) {
        if (!filter.empty() && pair.name.find(filter) == std::string::npos)
            continue;
        operands.Reset();
        pair.halvera(); // warm caches and first-touch pages on both sides
        pair.opencv();
        std::vector<double> ours, theirs, ratios;
        for (int r = 0; r < rounds; ++r) {
            operands.Reset();
            const double a = pair.megapixels / SecondsPerRun(pair.halvera);
            const double b = pair.megapixels / SecondsPerRun(pair.opencv);
            ours.push_back(a);
            theirs.push_back(b);
            ratios.push_back(a / b);
        }
        const double ratio = Median(ratios);
        const bool met = ratio >= pair.target;
        below += met ? 0 : 1;
        std::printf("%-42s %12.1f %12.1f %7.2f %7.2f%s\n", pair.name.c_str(), Median(ours),
                    Median(theirs), ratio, pair.target, met ? "" : "  below target");
        std::fflush(stdout);
    }
    std::printf("%d pair(s) below target\n", below);
    return 0;
}

// Halvera's side of each selected pair with one worker against `workers`.
int RunScaling(int rounds, const std::string& filter, int workers) {
    SetPixelWorkerCount(1);
    Operands operands;
    std::vector<Pair> pairs = MakePairs(operands);
    const std::string many = std::to_string(workers) + ": MP/s";
    std::printf("%-42s %12s %12s %8s %8s\n", "Halvera 1 / N workers (4096 x 4096)", "1: MP/s",
                many.c_str(), "best", "median");
    for (const Pair& pair : pairs) {
        if (!filter.empty() && pair.name.find(filter) == std::string::npos)
            continue;
        operands.Reset();
        pair.halvera();
        std::vector<double> one, several, gains;
        for (int r = 0; r < rounds; ++r) {
            operands.Reset();
            SetPixelWorkerCount(1);
            const double a = pair.megapixels / SecondsPerRun(pair.halvera);
            SetPixelWorkerCount(workers);
            const double b = pair.megapixels / SecondsPerRun(pair.halvera);
            one.push_back(a);
            several.push_back(b);
            gains.push_back(b / a);
        }
        const double bestOne = *std::max_element(one.begin(), one.end());
        const double bestSeveral = *std::max_element(several.begin(), several.end());
        std::printf("%-42s %12.1f %12.1f %8.2f %8.2f\n", pair.name.c_str(), bestOne, bestSeveral,
                    bestSeveral / bestOne, Median(gains));
        std::fflush(stdout);
    }
    SetPixelWorkerCount(1);
    return 0;
}

} // namespace
} // namespace halvera::peers

int main(int argc, char** argv) {
    int rounds = 5;
    std::string filter;
    int threads = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--filter")
            filter = argv[i + 1];
        else if (option == "--threads")
            threads = std::max(1, std::atoi(argv[i + 1]));
        else {
            std::fprintf(stderr, "usage: peer_bench [--rounds N] [--filter TEXT] [--threads N]\n");
            return 2;
        }
    }
    try {
        return threads > 0 ? halvera::peers::RunScaling(rounds, filter, threads)
                           : halvera::peers::Run(rounds, filter);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "peer_bench: %s\n", error.what());
        return 1;
    }
}
