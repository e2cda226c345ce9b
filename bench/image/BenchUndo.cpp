// Undo history throughput on a 4096 x 4096 document: each iteration records
// one image step (before- and after-copy) and undoes it, three block moves of
// the whole image.
#include "BenchImages.h"
#include "document/MavDoc.h"

#include <cstring>
#include <stdexcept>

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

void BM_UndoImageStep(benchmark::State& state) {
    AppSettings settings;
    CMavDoc doc(settings);
    MakeDocument(doc);
    SelectionRecord selection;
    for (auto _ : state) {
        doc.BeginImageStep(selection);
        doc.image().bits[0] ^= 1;
        doc.EndImageStep(selection);
        benchmark::DoNotOptimize(doc.Undo());
    }
    bench::ReportMegapixels(state, doc.width(), doc.height());
}
BENCHMARK(BM_UndoImageStep)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace halvera
