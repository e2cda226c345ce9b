#include "measure/RecordFile.h"

#include "image/AtomicFileWriter.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace halvera {

RecordRead ReadRecordFile(const std::string& path, std::string_view magic,
                          std::span<std::byte> record) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file)
        return RecordRead::CannotOpen;
    std::vector<std::byte> bytes(record.size());
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return RecordRead::WrongFormat;
    if (bytes.size() <= magic.size() ||
        std::memcmp(bytes.data(), magic.data(), magic.size()) != 0 ||
        bytes[magic.size()] != std::byte{0})
        return RecordRead::WrongFormat;
    std::memcpy(record.data(), bytes.data(), bytes.size());
    return RecordRead::Done;
}

bool WriteRecordFile(const std::string& path, std::span<const std::byte> record) {
    AtomicFileWriter writer(path);
    return writer.Open() && writer.Write(record.data(), record.size()) && writer.Commit();
}

} // namespace halvera
