#include "measure/ToleranceFile.h"

#include <array>
#include <bit>
#include <cstring>

namespace halvera {

static_assert(std::endian::native == std::endian::little,
              "the data files are raw little-endian records");
static_assert(sizeof(ToleranceEntry) == 3 * sizeof(double));

namespace {

constexpr std::string_view kMagic = "TOLERANCE";
constexpr size_t kEntriesOffset = 10;

} // namespace

RecordRead ReadToleranceFile(const std::string& path, ToleranceTable& table) {
    std::array<std::byte, kToleranceFileSize> record{};
    const RecordRead result = ReadRecordFile(path, kMagic, record);
    if (result == RecordRead::Done)
        std::memcpy(table.entries.data(), record.data() + kEntriesOffset, sizeof(table.entries));
    return result;
}

bool WriteToleranceFile(const std::string& path, const ToleranceTable& table) {
    std::array<std::byte, kToleranceFileSize> record{};
    std::memcpy(record.data(), kMagic.data(), kMagic.size());
    std::memcpy(record.data() + kEntriesOffset, table.entries.data(), sizeof(table.entries));
    return WriteRecordFile(path, record);
}

} // namespace halvera
