#include "measure/OutputItemsFile.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace halvera {

static_assert(std::endian::native == std::endian::little,
              "the data files are raw little-endian records");
static_assert(sizeof(int) == sizeof(int32_t));

namespace {

constexpr std::string_view kMagic = "MDATALIST";
constexpr size_t kSlotsOffset = 10;
constexpr size_t kSlotBytes = OutputSelection::kSlots * sizeof(int32_t);

} // namespace

RecordRead ReadOutputItemsFile(const std::string& path, OutputSelection& selection) {
    std::array<std::byte, kOutputItemsFileSize> record{};
    const RecordRead result = ReadRecordFile(path, kMagic, record);
    if (result == RecordRead::Done) {
        std::array<int, OutputSelection::kSlots> values{};
        std::memcpy(values.data(), record.data() + kSlotsOffset, kSlotBytes);
        selection = OutputSelection::FromSlots(values);
    }
    return result;
}

bool WriteOutputItemsFile(const std::string& path, const OutputSelection& selection) {
    std::array<std::byte, kOutputItemsFileSize> record{};
    std::memcpy(record.data(), kMagic.data(), kMagic.size());
    std::memcpy(record.data() + kSlotsOffset, selection.slotValues().data(), kSlotBytes);
    return WriteRecordFile(path, record);
}

} // namespace halvera
