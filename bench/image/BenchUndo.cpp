// The undo history on a 4096 x 4096 document: undo and redo of one step of
// invert, brightness, the 3x3 low pass and a pencil stroke (a 9-pixel-wide
// line across the picture), with the compressed bytes each step holds, and
// the resident memory after 27 inverts.
#include "BenchImages.h"
#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "processing/ProcessingCommands.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace halvera {
namespace {

// A document made from the benchmark picture, as a scanned picture would be.
void MakeDocument(CMavDoc& doc) {
    const DibBlock picture = bench::MakeTestImage();
    const CDibImage dib = picture.dib();
    PackedDib pending = PackedDib::Allocate(static_cast<size_t>(dib.blockSize));
    std::memcpy(pending.data(), dib.header, static_cast<size_t>(dib.blockSize));
    if (!doc.OnNewDocument(std::move(pending)))
        throw std::runtime_error("benchmark document could not be created");
}

// Resident memory of this process in bytes, from /proc/self/status.
double ResidentBytes() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    double kilobytes = 0;
    while (status && std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmRSS:", 6) == 0)
            kilobytes = std::strtod(line + 6, nullptr);
    if (status)
        std::fclose(status);
    return kilobytes * 1024;
}

// Each stroke one line lower than the last, so every one changes pixels.
void PencilStroke(CMavDoc& doc, SelectionRecord& selection) {
    static int32_t strokes = 0;
    const int32_t top = 2000 + 16 * strokes++;
    RunImageCommand(doc, selection, false, [&] {
        const CDibImage image = doc.image();
        for (int32_t y = top; y < top + 9; ++y)
            std::memset(image.row(y), 0x20, static_cast<size_t>(3 * image.width()));
    });
}

using Step = std::function<void(CMavDoc&, SelectionRecord&)>;

// Records two steps, then times undo and redo of the last in turn (one
// iteration is one undo and one redo); step_bytes is what the step holds.
void UndoRedo(benchmark::State& state, const Step& step) {
    AppSettings settings;
    CMavDoc doc(settings);
    MakeDocument(doc);
    SelectionRecord selection;
    step(doc, selection); // the first step also takes the compressed base
    const size_t heldBefore = doc.undoHistory().heldBytes();
    step(doc, selection);
    const size_t stepBytes = doc.undoHistory().heldBytes() - heldBefore;
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.Undo());
        benchmark::DoNotOptimize(doc.Redo());
    }
    state.counters["step_bytes"] = static_cast<double>(stepBytes);
}

void BM_UndoRedoInvert(benchmark::State& state) {
    UndoRedo(state, [](CMavDoc& doc, SelectionRecord& s) { RunInvertCommand(doc, s); });
}
void BM_UndoRedoBrightness(benchmark::State& state) {
    UndoRedo(state, [](CMavDoc& doc, SelectionRecord& s) {
        RunBrightnessContrastCommand(doc, s, 20, 10);
    });
}
void BM_UndoRedoLowPass(benchmark::State& state) {
    UndoRedo(state, [](CMavDoc& doc, SelectionRecord& s) {
        RunSmoothingCommand(doc, s, SmoothingFilter::LowPass);
    });
}
void BM_UndoRedoPencilStroke(benchmark::State& state) {
    UndoRedo(state, PencilStroke);
}
BENCHMARK(BM_UndoRedoInvert)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UndoRedoBrightness)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UndoRedoLowPass)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UndoRedoPencilStroke)->Unit(benchmark::kMillisecond)->UseRealTime();

// 27 inverts, then 27 undos: resident memory against the picture's bytes,
// and whether the original came back.
void BM_TwentySevenInverts(benchmark::State& state) {
    for (auto _ : state) {
        AppSettings settings;
        CMavDoc doc(settings);
        MakeDocument(doc);
        const CDibImage image = doc.image();
        // A hash, not a copy, so that the copy is not counted as resident.
        const auto pixels = [&] {
            return std::hash<std::string_view>()(std::string_view(
                reinterpret_cast<char*>(image.bits), static_cast<size_t>(image.bitsSize)));
        };
        const size_t original = pixels();
        SelectionRecord selection;
        for (int step = 0; step < 27; ++step)
            RunInvertCommand(doc, selection);
        state.counters["rss_per_picture"] = ResidentBytes() / image.blockSize;
        state.counters["history_bytes"] = static_cast<double>(doc.undoHistory().heldBytes());
        for (int step = 0; step < 27; ++step)
            doc.Undo();
        state.counters["original_back"] = pixels() == original ? 1 : 0;
    }
}
BENCHMARK(BM_TwentySevenInverts)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace halvera
