#include "BenchImages.h"
#include "measure/RecipeBatch.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace halvera::bench {
namespace {

// A 2048 x 2048 picture of a plate (picture x 400..1650, y 500..1500) with a
// bore of radius 150 and two holes of radius 60, each pixel's level following
// the share of it inside (from its centre's distance to the nearest edge,
// exact enough for timing), on a little noise.
constexpr int kSide = 2048;
constexpr double kLeft = 400.0, kRight = 1650.0, kTop = 500.0, kBottom = 1500.0;
struct Hole {
    double x, y, radius;
};
constexpr Hole kHoles[] = {{1000.0, 1000.0, 150.0}, {600.0, 800.0, 60.0}, {1400.0, 800.0, 60.0}};

double PlateShare(double x, double y) {
    double inside = std::min({x - kLeft, kRight - x, y - kTop, kBottom - y});
    for (const Hole& hole : kHoles)
        inside = std::min(inside, std::hypot(x - hole.x, y - hole.y) - hole.radius);
    return std::clamp(0.5 + inside, 0.0, 1.0);
}

DibBlock MakePlatePicture() {
    DibBlock picture;
    if (!CreateRgb(picture, kSide, kSide))
        throw std::runtime_error("benchmark picture could not be created");
    for (int y = 0; y < kSide; ++y) {
        uint8_t* row = picture.dib().row(y);
        for (int x = 0; x < kSide; ++x) {
            const auto level =
                static_cast<uint8_t>(40.0 + 160.0 * PlateShare(x, y) + ((x * 7 + y * 13) % 5));
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = level;
        }
    }
    return picture;
}

// Ten edge items on the plate (edge-lines over 400 pixels, as an inspector
// draws them along a stretch of edge), relative to its bottom-left corner, found by
// the bottom and left edges.
InspectionRecipe PlateRecipe() {
    InspectionRecipe recipe;
    const auto add = [&](RecipeItemKind kind, std::vector<SubPixelPoint> points) {
        recipe.items.push_back({kind, std::move(points)});
    };
    add(RecipeItemKind::EdgeLine, {{100, 0}, {500, 0}});
    add(RecipeItemKind::EdgeLine, {{0, -300}, {0, -700}});
    add(RecipeItemKind::EdgeLine, {{700, -1000}, {1100, -1000}});
    add(RecipeItemKind::EdgeLine, {{1250, -300}, {1250, -700}});
    add(RecipeItemKind::EdgeCircle, {{600, -500}, {750, -500}});
    add(RecipeItemKind::EdgeCircle, {{200, -700}, {260, -700}});
    add(RecipeItemKind::EdgeCircle, {{1000, -700}, {1060, -700}});
    add(RecipeItemKind::Width, {{300, 20}, {300, -1020}});
    add(RecipeItemKind::Width, {{-20, -300}, {1270, -300}});
    add(RecipeItemKind::EdgePoint, {{1250, -500}});
    recipe.datum = RecipeDatum{0, 1, {kLeft, kBottom}, {1.0, 0.0}};
    return recipe;
}

// The recipe on a batch of pictures with `workers` pictures at once; the
// per_image counter is the time per picture (the whole batch's time over
// its pictures).
void BM_InspectRecipe(benchmark::State& state) {
    static const DibBlock picture = MakePlatePicture();
    const InspectionRecipe recipe = PlateRecipe();
    constexpr size_t kPictures = 16;
    const int workers = static_cast<int>(state.range(0));
    bool allFound = true;
    for (auto _ : state) {
        InspectPictures(
            recipe, {}, kPictures, workers,
            [&](size_t) {
                return LoadedPicture{DibBlock{}, picture.dib(), {}};
            },
            [&](size_t, const PictureInspection& result) {
                allFound = allFound && !result.Failed() && result.misses.empty();
                return true;
            });
    }
    if (!allFound)
        state.SkipWithError("the recipe did not find every item");
    state.counters["per_image"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kPictures),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_InspectRecipe)
    ->ArgNames({"workers"})
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace halvera::bench
