#include "image/TiffCalibration.h"

#include "image/PictureCalibration.h"

#include <array>
#include <string_view>

namespace halvera {

namespace {

// A private tag of the range anyone may use; readers skip tags they do not know.
constexpr ttag_t kCalibrationTag = 65000;
constexpr const char* kCalibrationTagName = "HalveraCalibration";
constexpr int kMicrometre = 0;
constexpr int kCentimetre = 2;
constexpr int kDecimetre = 3;
constexpr int kInch = 4;
constexpr double kCentimetresPerDecimetre = 10.0;

// The names ImageJ gives ruler units 0..4 in a description (dcm is written in cm).
constexpr std::array<const char*, 5> kImageJUnitNames = {"micron", "mm", "cm", "cm", "inch"};

// How a unit named in a description is read: a ruler unit, or a length in
// metres for the units the ruler does not have.
struct DescribedUnit {
    std::string_view name;
    int rulerUnit; // -1: through metres
    double metres;
};
constexpr DescribedUnit kDescribedUnits[] = {
    {"micron", kMicrometre, 1e-6},
    {"um", kMicrometre, 1e-6},
    {"\\u00B5m", kMicrometre, 1e-6},
    {"\xC2\xB5m", kMicrometre, 1e-6},
    {"\xCE\xBCm", kMicrometre, 1e-6},
    {"\xB5m", kMicrometre, 1e-6},
    {"mm", 1, 1e-3},
    {"cm", kCentimetre, 1e-2},
    {"inch", kInch, 0.0254},
    {"nm", -1, 1e-9},
    {"m", -1, 1.0},
};

void DeclareCalibrationTag(TIFF* tiff) {
    static const TIFFFieldInfo kField = {kCalibrationTag,
                                         TIFF_VARIABLE,
                                         TIFF_VARIABLE,
                                         TIFF_ASCII,
                                         FIELD_CUSTOM,
                                         1,
                                         0,
                                         const_cast<char*>(kCalibrationTagName)};
    TIFFMergeFieldInfo(tiff, &kField, 1);
}

std::optional<CalibrationRecord> HalveraRecord(TIFF* tiff) {
    // libtiff reads a tag it was not told of as a counted value.
    uint32_t count = 0;
    const char* text = nullptr;
    if (!TIFFGetField(tiff, kCalibrationTag, &count, &text) || !text || count == 0)
        return std::nullopt;
    std::string_view value(text, count);
    value = value.substr(0, value.find('\0'));
    return ParseCalibrationRecordText(value);
}

// The value of the description's "unit=" line; empty when there is none.
std::string_view DescribedUnitName(TIFF* tiff) {
    const char* description = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEDESCRIPTION, &description) || !description)
        return {};
    std::string_view text(description);
    constexpr std::string_view kKey = "unit=";
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        if (line.starts_with(kKey))
            return line.substr(kKey.size());
        start = end + 1;
    }
    return {};
}

std::optional<CalibrationRecord> RecordInUnit(const DescribedUnit& unit, float perUnitX,
                                              float perUnitY) {
    if (unit.rulerUnit >= 0)
        return CalibrationForUnitScale(unit.rulerUnit, 1.0 / perUnitX, 1.0 / perUnitY);
    return CalibrationForPixelSize(unit.metres / perUnitX, unit.metres / perUnitY);
}

} // namespace

void SetCalibrationTags(TIFF* tiff, const CalibrationRecord& record) {
    const double unitsPerWritten = record.unit == kDecimetre ? kCentimetresPerDecimetre : 1.0;
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_NONE);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, record.pixelWidth / (record.realX * unitsPerWritten));
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, record.pixelHeight / (record.realY * unitsPerWritten));
    const std::string description =
        std::string("ImageJ=1.11a\nunit=") +
        kImageJUnitNames[static_cast<size_t>(record.unit) % kImageJUnitNames.size()] + "\n";
    TIFFSetField(tiff, TIFFTAG_IMAGEDESCRIPTION, description.c_str());
    DeclareCalibrationTag(tiff);
    TIFFSetField(tiff, kCalibrationTag, CalibrationRecordText(record).c_str());
}

std::optional<CalibrationRecord> ReadCalibrationTags(TIFF* tiff) {
    if (const std::optional<CalibrationRecord> own = HalveraRecord(tiff))
        return own;
    float perUnitX = 0.0F;
    float perUnitY = 0.0F;
    if (!TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &perUnitX) ||
        !TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &perUnitY) || !(perUnitX > 0.0F) ||
        !(perUnitY > 0.0F))
        return std::nullopt;
    const std::string_view described = DescribedUnitName(tiff);
    for (const DescribedUnit& unit : kDescribedUnits)
        if (described == unit.name)
            return RecordInUnit(unit, perUnitX, perUnitY);
    uint16_t resolutionUnit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &resolutionUnit);
    if (resolutionUnit == RESUNIT_INCH)
        return RecordInUnit({"inch", -1, 0.0254}, perUnitX, perUnitY);
    if (resolutionUnit == RESUNIT_CENTIMETER)
        return RecordInUnit({"cm", -1, 1e-2}, perUnitX, perUnitY);
    return std::nullopt;
}

} // namespace halvera
