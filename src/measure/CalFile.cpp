#include "measure/CalFile.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace halvera {

namespace {

constexpr std::array<uint8_t, 6> kMagic = {'R', 'U', 'L', 'E', 'R', 0};
constexpr size_t kUnitOffset = 6;
constexpr size_t kRealXOffset = 10;
constexpr size_t kRealYOffset = 18;
constexpr size_t kWidthOffset = 26;
constexpr size_t kHeightOffset = 30;

template <typename Unsigned> void PutLittleEndian(uint8_t* out, Unsigned value) {
    for (size_t i = 0; i < sizeof(Unsigned); ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

template <typename Unsigned> Unsigned GetLittleEndian(const uint8_t* in) {
    Unsigned value = 0;
    for (size_t i = 0; i < sizeof(Unsigned); ++i)
        value |= static_cast<Unsigned>(in[i]) << (8 * i);
    return value;
}

void PutInt(uint8_t* out, int32_t value) {
    PutLittleEndian(out, std::bit_cast<uint32_t>(value));
}
void PutDouble(uint8_t* out, double value) {
    PutLittleEndian(out, std::bit_cast<uint64_t>(value));
}
int32_t GetInt(const uint8_t* in) {
    return std::bit_cast<int32_t>(GetLittleEndian<uint32_t>(in));
}
double GetDouble(const uint8_t* in) {
    return std::bit_cast<double>(GetLittleEndian<uint64_t>(in));
}

// Closes a descriptor on every way out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Reads up to `size` bytes from the start, retrying short reads; the count read.
size_t ReadFromStart(int fd, uint8_t* out, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, out + done, size - done, static_cast<off_t>(done));
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    return done;
}

bool WriteAtStart(int fd, const uint8_t* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t put = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

} // namespace

CalFileBytes EncodeCalibration(const CalibrationRecord& record) {
    CalFileBytes bytes{};
    std::copy(kMagic.begin(), kMagic.end(), bytes.begin());
    PutInt(&bytes[kUnitOffset], record.unit);
    PutDouble(&bytes[kRealXOffset], record.realX);
    PutDouble(&bytes[kRealYOffset], record.realY);
    PutInt(&bytes[kWidthOffset], record.pixelWidth);
    PutInt(&bytes[kHeightOffset], record.pixelHeight);
    return bytes;
}

std::optional<CalibrationRecord> DecodeCalibration(std::span<const uint8_t> bytes) {
    if (bytes.size() < kCalFileSize || !std::equal(kMagic.begin(), kMagic.end(), bytes.begin()))
        return std::nullopt;
    const uint8_t* in = bytes.data();
    return CalibrationRecord{GetInt(in + kUnitOffset), GetDouble(in + kRealXOffset),
                             GetDouble(in + kRealYOffset), GetInt(in + kWidthOffset),
                             GetInt(in + kHeightOffset)};
}

CalFileRead ReadCalFile(const std::string& path, CalibrationRecord& record) {
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return CalFileRead::CannotOpen;
    CalFileBytes bytes{};
    const size_t got = ReadFromStart(file.get(), bytes.data(), bytes.size());
    const auto decoded = DecodeCalibration(std::span<const uint8_t>(bytes.data(), got));
    if (!decoded)
        return CalFileRead::NotACalFile;
    record = *decoded;
    return CalFileRead::Read;
}

bool WriteCalFile(const std::string& path, const CalibrationRecord& record) {
    const FileDescriptor file(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (file.get() < 0 || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    const CalFileBytes bytes = EncodeCalibration(record);
    return WriteAtStart(file.get(), bytes.data(), bytes.size());
}

CalibrationRecord CalibrationInForce(const RulerCalibration& calibration) {
    return {calibration.unit(), calibration.realX(), calibration.realY(), calibration.pixelX(),
            calibration.pixelY()};
}

void StoreCalibration(RulerCalibration& calibration, const CalibrationRecord& record) {
    calibration.Store(record);
}

NamedCalibration NamedCalibrationInForce(const RulerCalibration& calibration) {
    return {CalibrationInForce(calibration), calibration.presetName()};
}

void StoreNamedCalibration(RulerCalibration& calibration, const NamedCalibration& named) {
    StoreCalibration(calibration, named.record);
    calibration.SetPresetName(named.preset);
}

} // namespace halvera
