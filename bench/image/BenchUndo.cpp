// The undo history on a 4096 x 4096 document: undo and redo of one step of
// invert, brightness, the 3x3 low pass and a pencil stroke (a 9-pixel-wide
// line across the picture), with the compressed bytes each step holds, and
// the resident memory after 27 inverts; and the zstd levels on the chunks
// the history compresses.
#include "BenchImages.h"
#include "PhotographicImage.h"
#include "document/CompressedBlock.h"
#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "document/UndoMemoryBudget.h"
#include "processing/ProcessingCommands.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>
#include <zstd.h>

namespace halvera {
namespace {

// A document made from `picture` (the benchmark picture unless given), as a
// scanned picture would be.
void MakeDocument(CMavDoc& doc, const DibBlock& picture = bench::MakeTestImage()) {
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

// Four low-pass steps undone one after the other and redone (one iteration
// is four undos and four redos, so time / 8 per step): every second walk
// moves the compressed base, the dearest undo there is.
void BM_UndoRedoFourLowPassInARow(benchmark::State& state) {
    AppSettings settings;
    CMavDoc doc(settings);
    MakeDocument(doc);
    SelectionRecord selection;
    for (int step = 0; step < 5; ++step)
        RunSmoothingCommand(doc, selection, SmoothingFilter::LowPass);
    for (auto _ : state) {
        for (int step = 0; step < 4; ++step)
            benchmark::DoNotOptimize(doc.Undo());
        for (int step = 0; step < 4; ++step)
            benchmark::DoNotOptimize(doc.Redo());
    }
}
BENCHMARK(BM_UndoRedoFourLowPassInARow)->Unit(benchmark::kMillisecond)->UseRealTime();

// Undo and redo of a low-pass step held in the cache folder (a budget of one
// byte moves every step out): each walk reads the step file back.
void BM_UndoRedoLowPassFromDisk(benchmark::State& state) {
    UndoMemoryBudget& budget = UndoBudget();
    const std::string folder = std::filesystem::temp_directory_path() / "halvera-bench-undo";
    budget.setCacheFolder(folder);
    budget.setLimit(1);
    {
        AppSettings settings;
        CMavDoc doc(settings);
        MakeDocument(doc);
        SelectionRecord selection;
        RunSmoothingCommand(doc, selection, SmoothingFilter::LowPass);
        RunSmoothingCommand(doc, selection, SmoothingFilter::LowPass);
        state.counters["spilled_slots"] = doc.undoHistory().spilledSlots();
        for (auto _ : state) {
            benchmark::DoNotOptimize(doc.Undo());
            benchmark::DoNotOptimize(doc.Redo());
        }
    }
    budget.setLimit(UndoMemoryBudget::kDefaultLimit);
    budget.setCacheFolder(UndoMemoryBudget::UserCacheFolder());
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_UndoRedoLowPassFromDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

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

// The bytes the history compresses, from a photograph-like picture: the
// picture itself (a state) and the exclusive-or differences an invert and a
// brightness step leave.
struct ChunkSamples {
    std::vector<uint8_t> state;
    std::vector<uint8_t> invertDifference;
    std::vector<uint8_t> brightnessDifference;
};

std::vector<uint8_t> BlockBytes(const CDibImage& block) {
    const auto* start = reinterpret_cast<const uint8_t*>(block.header);
    return std::vector<uint8_t>(start, start + block.blockSize);
}

std::vector<uint8_t> Xor(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    for (size_t i = 0; i < a.size(); ++i)
        a[i] ^= b[i];
    return a;
}

const ChunkSamples& Samples() {
    static const ChunkSamples samples = [] {
        AppSettings settings;
        CMavDoc doc(settings);
        MakeDocument(doc, peers::MakePhotographicImage(bench::kBenchSide, bench::kBenchSide));
        ChunkSamples made;
        made.state = BlockBytes(doc.image());
        SelectionRecord selection;
        RunInvertCommand(doc, selection);
        made.invertDifference = Xor(BlockBytes(doc.image()), made.state);
        doc.Undo();
        RunBrightnessContrastCommand(doc, selection, 20, 10);
        made.brightnessDifference = Xor(BlockBytes(doc.image()), made.state);
        return made;
    }();
    return samples;
}

// Every 256 KB chunk of one sample compressed at zstd level range(0) on one
// core; range(1) picks the sample (0 state, 1 invert, 2 brightness).
// bytes_per_chunk is the mean compressed size, time per chunk = time / chunks.
void BM_CompressChunk(benchmark::State& state) {
    const int level = static_cast<int>(state.range(0));
    const ChunkSamples& samples = Samples();
    const std::vector<uint8_t>* const kinds[] = {&samples.state, &samples.invertDifference,
                                                 &samples.brightnessDifference};
    const std::vector<uint8_t>& bytes = *kinds[state.range(1)];
    const size_t chunks = (bytes.size() + kUndoChunkBytes - 1) / kUndoChunkBytes;
    std::vector<uint8_t> packed(ZSTD_compressBound(kUndoChunkBytes));
    ZSTD_CCtx* context = ZSTD_createCCtx();
    size_t compressed = 0;
    for (auto _ : state) {
        compressed = 0;
        for (size_t c = 0; c < chunks; ++c) {
            const size_t offset = c * kUndoChunkBytes;
            const size_t size = std::min(kUndoChunkBytes, bytes.size() - offset);
            compressed += ZSTD_compressCCtx(context, packed.data(), packed.size(),
                                            bytes.data() + offset, size, level);
        }
        benchmark::DoNotOptimize(packed.data());
    }
    ZSTD_freeCCtx(context);
    state.counters["chunks"] = static_cast<double>(chunks);
    state.counters["bytes_per_chunk"] = static_cast<double>(compressed) / chunks;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_CompressChunk)
    ->ArgsProduct({{1, 2, 3}, {0, 1, 2}})
    ->ArgNames({"level", "sample"})
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace halvera
