#include "app/RecoveryCopyFile.h"

#include "image/AtomicFileWriter.h"
#include "measure/MeasurementSidecar.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace halvera {

namespace {

constexpr char kMagic[8] = {'H', 'L', 'V', 'R', 'E', 'C', 'V', '2'};
// Longer names than this are no file or title this program makes.
constexpr uint32_t kLongestText = 1 << 16;
// The largest side an image of this program can have (a 32-bit block size).
constexpr int32_t kLargestSide = 1 << 16;
// The measured items' text is read whole into memory; more than this is no
// file this program writes.
constexpr uint32_t kLongestItemsText = 1u << 28;

// Fields as bytes, built before anything is written.
class FieldBytes {
public:
    template <typename Value> void add(const Value& value) {
        const auto* bytes = reinterpret_cast<const char*>(&value);
        bytes_.append(bytes, sizeof value);
    }
    void addText(const std::string& text) {
        add(static_cast<uint32_t>(text.size()));
        bytes_ += text;
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

FieldBytes HeaderOf(const RecoverySnapshot& snapshot) {
    FieldBytes header;
    header.addText(std::string(kMagic, sizeof kMagic));
    header.addText(snapshot.path);
    header.addText(snapshot.title);
    header.add(static_cast<int32_t>(snapshot.image.width()));
    header.add(static_cast<int32_t>(snapshot.image.height()));
    const CalibrationRecord& calibration = snapshot.calibration;
    header.add(calibration.unit);
    header.add(calibration.realX);
    header.add(calibration.realY);
    header.add(calibration.pixelWidth);
    header.add(calibration.pixelHeight);
    return header;
}

// Reads the file front to back; any short read makes every later read fail.
class CopyReader {
public:
    explicit CopyReader(const std::string& file) : stream_(std::fopen(file.c_str(), "rb")) {}
    ~CopyReader() {
        if (stream_)
            std::fclose(stream_);
    }
    CopyReader(const CopyReader&) = delete;
    CopyReader& operator=(const CopyReader&) = delete;

    bool read(void* data, size_t size) {
        ok_ = ok_ && stream_ && std::fread(data, 1, size, stream_) == size;
        return ok_;
    }
    template <typename Value> Value value() {
        Value read_value{};
        read(&read_value, sizeof read_value);
        return read_value;
    }
    std::string text(uint32_t longest = kLongestText) {
        const auto size = value<uint32_t>();
        if (size > longest)
            ok_ = false;
        std::string result(ok_ ? size : 0, '\0');
        read(result.data(), result.size());
        return result;
    }
    bool ok() const { return ok_; }
    // True when the whole file has been read, nothing more.
    bool atEnd() { return ok_ && std::fgetc(stream_) == EOF; }

private:
    std::FILE* stream_;
    bool ok_ = true;
};

std::optional<RecoveryCopyHeader> ReadHeader(CopyReader& reader) {
    if (reader.text() != std::string(kMagic, sizeof kMagic))
        return std::nullopt;
    RecoveryCopyHeader header;
    header.path = reader.text();
    header.title = reader.text();
    header.width = reader.value<int32_t>();
    header.height = reader.value<int32_t>();
    header.calibration.unit = reader.value<int32_t>();
    header.calibration.realX = reader.value<double>();
    header.calibration.realY = reader.value<double>();
    header.calibration.pixelWidth = reader.value<int32_t>();
    header.calibration.pixelHeight = reader.value<int32_t>();
    const auto sideFits = [](int side) {
        return side > 0 && side <= kLargestSide;
    };
    if (!reader.ok() || !sideFits(header.width) || !sideFits(header.height))
        return std::nullopt;
    return header;
}

// The measured items in the measurement file's own text, so that every kind
// and its sub-pixel geometry come back exactly as that file keeps them. The
// record's calibration stays the default, which that file always accepts: the
// calibration in force is the header's.
FieldBytes ItemsOf(const RecoverySnapshot& snapshot) {
    MeasurementRecord record;
    record.image = std::filesystem::path(snapshot.path).filename().string();
    record.items = snapshot.measurements;
    FieldBytes items;
    items.addText(MeasurementSidecarText(record));
    return items;
}

std::optional<MeasureData> ReadItems(CopyReader& reader) {
    const std::string text = reader.text(kLongestItemsText);
    if (!reader.ok())
        return std::nullopt;
    MeasurementFileRead read = ParseMeasurementSidecar(text);
    if (!read.record)
        return std::nullopt;
    return std::move(read.record->items);
}

} // namespace

bool WriteRecoveryCopy(const std::string& file, const RecoverySnapshot& snapshot) {
    AtomicFileWriter writer(file);
    const FieldBytes header = HeaderOf(snapshot);
    const FieldBytes items = ItemsOf(snapshot);
    const CDibImage image = snapshot.image.dib();
    const CDibImage mask = snapshot.mask.dib();
    return writer.Open() && writer.Write(header.bytes().data(), header.bytes().size()) &&
           writer.Write(image.bits, static_cast<size_t>(image.bitsSize)) &&
           writer.Write(mask.bits, static_cast<size_t>(mask.bitsSize)) &&
           writer.Write(items.bytes().data(), items.bytes().size()) && writer.Commit();
}

std::optional<RecoveryCopyHeader> ReadRecoveryCopyHeader(const std::string& file) {
    CopyReader reader(file);
    return ReadHeader(reader);
}

std::optional<RecoverySnapshot> ReadRecoveryCopy(const std::string& file) {
    CopyReader reader(file);
    const std::optional<RecoveryCopyHeader> header = ReadHeader(reader);
    if (!header)
        return std::nullopt;
    RecoverySnapshot snapshot;
    snapshot.path = header->path;
    snapshot.title = header->title;
    snapshot.calibration = header->calibration;
    if (!CreateRgb(snapshot.image, header->width, header->height) ||
        !CreateGrey(snapshot.mask, header->width, header->height))
        return std::nullopt;
    const CDibImage image = snapshot.image.dib();
    const CDibImage mask = snapshot.mask.dib();
    if (!reader.read(image.bits, static_cast<size_t>(image.bitsSize)) ||
        !reader.read(mask.bits, static_cast<size_t>(mask.bitsSize)))
        return std::nullopt;
    std::optional<MeasureData> items = ReadItems(reader);
    if (!items || !reader.atEnd())
        return std::nullopt;
    snapshot.measurements = std::move(*items);
    return snapshot;
}

} // namespace halvera
