// Autosave on a 4096 x 4096 document: the snapshot the window thread takes
// (it must stay well under 50 ms, the pause a user would feel) and the write
// of the copy the worker thread then makes.
#include "BenchImages.h"
#include "app/RecoveryCopyFile.h"
#include "app/RecoverySnapshot.h"
#include "document/MavDoc.h"

#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace halvera {
namespace {

// A document made from the benchmark picture, with an elliptical selection.
void MakeDocument(CMavDoc& doc) {
    const DibBlock picture = bench::MakeTestImage();
    const CDibImage dib = picture.dib();
    PackedDib pending = PackedDib::Allocate(static_cast<size_t>(dib.blockSize));
    std::memcpy(pending.data(), dib.header, static_cast<size_t>(dib.blockSize));
    if (!doc.OnNewDocument(std::move(pending)))
        throw std::runtime_error("benchmark document could not be created");
    CopyBlock(doc.mask(), bench::MakeEllipseMask().dib());
}

void BM_AutosaveSnapshot(benchmark::State& state) {
    AppSettings settings;
    CMavDoc doc(settings);
    MakeDocument(doc);
    for (auto _ : state) {
        std::optional<RecoverySnapshot> snapshot = TakeRecoverySnapshot(doc);
        benchmark::DoNotOptimize(snapshot);
    }
    bench::ReportMegapixels(state, doc.width(), doc.height());
}
BENCHMARK(BM_AutosaveSnapshot)->Unit(benchmark::kMillisecond);

void BM_AutosaveWriteCopy(benchmark::State& state) {
    AppSettings settings;
    CMavDoc doc(settings);
    MakeDocument(doc);
    const std::optional<RecoverySnapshot> snapshot = TakeRecoverySnapshot(doc);
    const std::string file =
        (std::filesystem::temp_directory_path() / "halvera-bench-autosave.hlvrec").string();
    for (auto _ : state) {
        if (!WriteRecoveryCopy(file, *snapshot))
            state.SkipWithError("the copy could not be written");
    }
    std::filesystem::remove(file);
    bench::ReportMegapixels(state, doc.width(), doc.height());
}
BENCHMARK(BM_AutosaveWriteCopy)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace halvera
