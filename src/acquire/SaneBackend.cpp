#include "acquire/SaneBackend.h"

#include "acquire/ScanOptionValue.h"
#include "acquire/ScanPictureBuilder.h"
#include "image/BitmapInfoHeader.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <new>
#include <sane/sane.h>
#include <thread>

namespace halvera {

namespace {

constexpr size_t kReadChunk = 64 * 1024;
// The pause after a read that brought nothing, so that waiting does not spin.
constexpr auto kIdleReadPause = std::chrono::milliseconds(2);

std::string Text(SANE_String_Const text) {
    return text ? std::string(text) : std::string();
}

ScanValueType TypeOf(SANE_Value_Type type) {
    switch (type) {
    case SANE_TYPE_BOOL:
        return ScanValueType::Bool;
    case SANE_TYPE_INT:
        return ScanValueType::Int;
    case SANE_TYPE_FIXED:
        return ScanValueType::Fixed;
    case SANE_TYPE_STRING:
        return ScanValueType::String;
    case SANE_TYPE_BUTTON:
        return ScanValueType::Button;
    case SANE_TYPE_GROUP:
        break;
    }
    return ScanValueType::Group;
}

ScanUnit UnitOf(SANE_Unit unit) {
    switch (unit) {
    case SANE_UNIT_PIXEL:
        return ScanUnit::Pixel;
    case SANE_UNIT_BIT:
        return ScanUnit::Bit;
    case SANE_UNIT_MM:
        return ScanUnit::Millimetre;
    case SANE_UNIT_DPI:
        return ScanUnit::Dpi;
    case SANE_UNIT_PERCENT:
        return ScanUnit::Percent;
    case SANE_UNIT_MICROSECOND:
        return ScanUnit::Microsecond;
    case SANE_UNIT_NONE:
        break;
    }
    return ScanUnit::None;
}

double WordToNumber(SANE_Word word, SANE_Value_Type type) {
    return type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : static_cast<double>(word);
}

// The descriptor in the program's terms, without its current value.
ScanOption Describe(const SANE_Option_Descriptor& descriptor) {
    ScanOption option;
    option.name = Text(descriptor.name);
    option.title = Text(descriptor.title);
    option.description = Text(descriptor.desc);
    option.type = TypeOf(descriptor.type);
    option.unit = UnitOf(descriptor.unit);
    const bool numeric = descriptor.type == SANE_TYPE_BOOL || descriptor.type == SANE_TYPE_INT ||
                         descriptor.type == SANE_TYPE_FIXED;
    option.valueCount =
        numeric ? std::max<int>(1, descriptor.size / static_cast<int>(sizeof(SANE_Word))) : 1;
    option.active = SANE_OPTION_IS_ACTIVE(descriptor.cap);
    option.settable = SANE_OPTION_IS_SETTABLE(descriptor.cap);
    option.advanced = (descriptor.cap & SANE_CAP_ADVANCED) != 0;
    switch (descriptor.constraint_type) {
    case SANE_CONSTRAINT_RANGE:
        if (const SANE_Range* range = descriptor.constraint.range) {
            option.constraint = ScanConstraint::Range;
            option.min = WordToNumber(range->min, descriptor.type);
            option.max = WordToNumber(range->max, descriptor.type);
            option.quant = WordToNumber(range->quant, descriptor.type);
        }
        break;
    case SANE_CONSTRAINT_WORD_LIST:
        if (const SANE_Word* list = descriptor.constraint.word_list) {
            option.constraint = ScanConstraint::NumberList;
            for (SANE_Word i = 1; i <= list[0]; ++i)
                option.numbers.push_back(WordToNumber(list[i], descriptor.type));
        }
        break;
    case SANE_CONSTRAINT_STRING_LIST:
        if (const SANE_String_Const* list = descriptor.constraint.string_list) {
            option.constraint = ScanConstraint::StringList;
            for (; *list; ++list)
                option.texts.emplace_back(*list);
        }
        break;
    case SANE_CONSTRAINT_NONE:
        break;
    }
    return option;
}

std::string StatusText(SANE_Status status) {
    return Text(sane_strstatus(status));
}

ScanOutcome Failure(std::string detail) {
    return ScanOutcome{ScanStatus::Failed, {}, std::move(detail)};
}

ScanOutcome Cancelled() {
    return ScanOutcome{ScanStatus::Cancelled, {}, {}};
}

bool FrameKindOf(SANE_Frame frame, ScanFrameKind& kind) {
    switch (frame) {
    case SANE_FRAME_GRAY:
        kind = ScanFrameKind::Gray;
        return true;
    case SANE_FRAME_RGB:
        kind = ScanFrameKind::Rgb;
        return true;
    case SANE_FRAME_RED:
        kind = ScanFrameKind::Red;
        return true;
    case SANE_FRAME_GREEN:
        kind = ScanFrameKind::Green;
        return true;
    case SANE_FRAME_BLUE:
        kind = ScanFrameKind::Blue;
        return true;
    }
    return false;
}

class SaneBackend final : public ScannerBackend {
public:
    ~SaneBackend() override { stop(); }

    std::string start() override {
        if (started_)
            return {};
        SANE_Int version = 0;
        const SANE_Status status = sane_init(&version, nullptr);
        started_ = status == SANE_STATUS_GOOD;
        return started_ ? std::string()
                        : "The scanner library did not start: " + StatusText(status) + ".";
    }

    void stop() override {
        if (handle_) {
            sane_close(handle_);
            handle_ = nullptr;
        }
        if (started_) {
            sane_exit();
            started_ = false;
        }
    }

    ScannerDeviceList devices() override {
        ScannerDeviceList found;
        const SANE_Device** list = nullptr;
        const SANE_Status status =
            started_ ? sane_get_devices(&list, SANE_FALSE) : SANE_STATUS_INVAL;
        if (status != SANE_STATUS_GOOD || !list) {
            found.error = "The scanners could not be listed: " + StatusText(status) + ".";
            return found;
        }
        for (; *list; ++list) {
            const SANE_Device& device = **list;
            found.devices.push_back(
                {Text(device.name), Text(device.vendor), Text(device.model), Text(device.type)});
        }
        return found;
    }

    std::string open(const std::string& name) override {
        if (handle_) {
            sane_close(handle_);
            handle_ = nullptr;
        }
        SANE_Handle handle = nullptr;
        const SANE_Status status = started_ ? sane_open(name.c_str(), &handle) : SANE_STATUS_INVAL;
        if (status != SANE_STATUS_GOOD || !handle)
            return "The scanner " + name + " could not be opened: " + StatusText(status) + ".";
        handle_ = handle;
        return {};
    }

    std::vector<ScanOption> options() override {
        std::vector<ScanOption> options;
        const SANE_Int count = optionCount();
        for (SANE_Int index = 1; index < count; ++index) {
            const SANE_Option_Descriptor* descriptor = sane_get_option_descriptor(handle_, index);
            if (!descriptor)
                continue;
            ScanOption option = Describe(*descriptor);
            option.value = readValue(index, *descriptor);
            options.push_back(std::move(option));
        }
        return options;
    }

    SetOptionResult setOption(const std::string& name, const ScanValue& value) override {
        SetOptionResult result;
        result.error = writeValue(name, value, result.inexact);
        result.options = options();
        return result;
    }

    ScanOutcome scan(ScanProgress& progress) override {
        if (!handle_)
            return Failure("no scanner is open");
        try {
            ScanOutcome outcome = scanFrames(progress, resolution());
            sane_cancel(handle_); // ends the scan, also after the last frame
            return outcome;
        } catch (const std::bad_alloc&) {
            sane_cancel(handle_);
            return Failure("there is no memory for the scanned data");
        }
    }

private:
    SANE_Int optionCount() const {
        SANE_Int count = 0;
        if (!handle_ || sane_control_option(handle_, 0, SANE_ACTION_GET_VALUE, &count, nullptr) !=
                            SANE_STATUS_GOOD)
            return 0;
        return count;
    }

    // The option's index and descriptor, or -1.
    SANE_Int findOption(const std::string& name, const SANE_Option_Descriptor*& found) const {
        const SANE_Int count = optionCount();
        for (SANE_Int index = 1; index < count; ++index) {
            const SANE_Option_Descriptor* descriptor = sane_get_option_descriptor(handle_, index);
            if (descriptor && descriptor->type != SANE_TYPE_GROUP && descriptor->name &&
                name == descriptor->name) {
                found = descriptor;
                return index;
            }
        }
        return -1;
    }

    ScanValue readValue(SANE_Int index, const SANE_Option_Descriptor& descriptor) const {
        const bool readable = (descriptor.cap & SANE_CAP_SOFT_DETECT) != 0;
        if (!readable || !SANE_OPTION_IS_ACTIVE(descriptor.cap) || descriptor.size <= 0 ||
            descriptor.type == SANE_TYPE_BUTTON || descriptor.type == SANE_TYPE_GROUP)
            return {};
        std::vector<SANE_Word> buffer(static_cast<size_t>(descriptor.size) / sizeof(SANE_Word) + 2);
        if (sane_control_option(handle_, index, SANE_ACTION_GET_VALUE, buffer.data(), nullptr) !=
            SANE_STATUS_GOOD)
            return {};
        switch (descriptor.type) {
        case SANE_TYPE_BOOL:
            return buffer[0] != SANE_FALSE;
        case SANE_TYPE_INT:
            return static_cast<int>(buffer[0]);
        case SANE_TYPE_FIXED:
            return SANE_UNFIX(buffer[0]);
        case SANE_TYPE_STRING: {
            const char* text = reinterpret_cast<const char*>(buffer.data());
            return std::string(text, strnlen(text, static_cast<size_t>(descriptor.size)));
        }
        default:
            return {};
        }
    }

    // Sets the option; an empty text when it was set, else the reason.
    std::string writeValue(const std::string& name, const ScanValue& value, bool& inexact) {
        const SANE_Option_Descriptor* descriptor = nullptr;
        const SANE_Int index = handle_ ? findOption(name, descriptor) : -1;
        if (index < 0)
            return "the scanner has no option " + name;
        if (!SANE_OPTION_IS_ACTIVE(descriptor->cap))
            return "the option " + name + " is not in use with the other settings";
        if (!SANE_OPTION_IS_SETTABLE(descriptor->cap))
            return "the option " + name + " cannot be set";
        std::vector<SANE_Word> buffer(
            std::max<size_t>(1, static_cast<size_t>(descriptor->size) / sizeof(SANE_Word) + 2));
        std::string error = encode(*descriptor, value, buffer);
        if (!error.empty())
            return error;
        SANE_Int info = 0;
        void* data = descriptor->type == SANE_TYPE_BUTTON ? nullptr : buffer.data();
        const SANE_Status status =
            sane_control_option(handle_, index, SANE_ACTION_SET_VALUE, data, &info);
        if (status != SANE_STATUS_GOOD)
            return "the scanner refused " + name + "=" + FormatScanValue(value) + " (" +
                   StatusText(status) + ")";
        inexact = (info & SANE_INFO_INEXACT) != 0;
        return {};
    }

    static std::string encode(const SANE_Option_Descriptor& descriptor, const ScanValue& value,
                              std::vector<SANE_Word>& buffer) {
        const std::string name = Text(descriptor.name);
        const bool numeric = descriptor.type == SANE_TYPE_BOOL ||
                             descriptor.type == SANE_TYPE_INT || descriptor.type == SANE_TYPE_FIXED;
        if (numeric && descriptor.size > static_cast<SANE_Int>(sizeof(SANE_Word)))
            return "the option " + name + " holds a list of values, which cannot be set here";
        switch (descriptor.type) {
        case SANE_TYPE_BOOL:
            if (const bool* on = std::get_if<bool>(&value)) {
                buffer[0] = *on ? SANE_TRUE : SANE_FALSE;
                return {};
            }
            break;
        case SANE_TYPE_INT:
            if (const int* number = std::get_if<int>(&value)) {
                buffer[0] = *number;
                return {};
            }
            break;
        case SANE_TYPE_FIXED:
            if (const double* number = std::get_if<double>(&value)) {
                buffer[0] = SANE_FIX(*number);
                return {};
            }
            if (const int* number = std::get_if<int>(&value)) {
                buffer[0] = SANE_FIX(static_cast<double>(*number));
                return {};
            }
            break;
        case SANE_TYPE_STRING:
            if (const std::string* text = std::get_if<std::string>(&value)) {
                if (text->size() + 1 > static_cast<size_t>(descriptor.size))
                    return "the value of " + name + " is longer than the scanner takes (" +
                           std::to_string(descriptor.size - 1) + " characters)";
                std::memcpy(buffer.data(), text->c_str(), text->size() + 1);
                return {};
            }
            break;
        case SANE_TYPE_BUTTON:
            return {};
        case SANE_TYPE_GROUP:
            break;
        }
        return "the value given does not fit the option " + name;
    }

    // The resolution the scan will have, in dots per inch; 0 when unknown.
    int resolution() const {
        const SANE_Option_Descriptor* descriptor = nullptr;
        const SANE_Int index = findOption(kScanOptionResolution, descriptor);
        if (index < 0 || descriptor->unit != SANE_UNIT_DPI)
            return 0;
        const ScanValue value = readValue(index, *descriptor);
        if (const int* number = std::get_if<int>(&value))
            return *number;
        if (const double* number = std::get_if<double>(&value))
            return static_cast<int>(std::lround(*number));
        return 0;
    }

    ScanOutcome scanFrames(ScanProgress& progress, int dotsPerInch) {
        ScanPictureBuilder builder;
        std::vector<uint8_t> bytes;
        do {
            if (progress.cancelRequested)
                return Cancelled();
            SANE_Status status = sane_start(handle_);
            if (status == SANE_STATUS_CANCELLED)
                return Cancelled();
            if (status != SANE_STATUS_GOOD)
                return Failure("the scanner did not start: " + StatusText(status));
            SANE_Parameters parameters{};
            status = sane_get_parameters(handle_, &parameters);
            if (status != SANE_STATUS_GOOD)
                return Failure("the scanner gave no picture layout: " + StatusText(status));
            ScanFrameFormat format;
            if (!FrameKindOf(parameters.format, format.kind))
                return Failure("the scanner sent frames of an unknown kind");
            format.pixelsPerLine = parameters.pixels_per_line;
            format.lines = parameters.lines;
            format.bytesPerLine = parameters.bytes_per_line;
            format.depth = parameters.depth;
            if (format.bytesPerLine <= 0 || format.pixelsPerLine > kMaxDibSide ||
                format.lines > kMaxDibSide)
                return Failure("the scan is larger than " + std::to_string(kMaxDibSide) +
                               " pixels on a side");
            expect(progress, format);
            ScanOutcome read = readFrame(progress, format, bytes);
            if (read.status != ScanStatus::Done)
                return read;
            std::string error;
            if (!builder.addFrame(format, bytes, error))
                return Failure(error);
            if (parameters.last_frame)
                break;
        } while (!builder.complete());
        if (!builder.complete())
            return Failure("the scanner ended before all colours of the picture arrived");
        return ScanOutcome{ScanStatus::Done, builder.take(dotsPerInch), {}};
    }

    static void expect(ScanProgress& progress, const ScanFrameFormat& format) {
        if (format.lines < 0) {
            progress.bytesExpected = 0;
            return;
        }
        const bool onePass =
            format.kind == ScanFrameKind::Gray || format.kind == ScanFrameKind::Rgb;
        const int64_t frame = int64_t{format.lines} * format.bytesPerLine;
        // A three-pass scan announces each colour when it starts; the first
        // announcement already tells the whole size.
        if (onePass || progress.bytesExpected == 0)
            progress.bytesExpected = progress.bytesRead + frame * (onePass ? 1 : 3);
    }

    // Reads one frame to its end into `bytes`, more than announced being a failure.
    ScanOutcome readFrame(ScanProgress& progress, const ScanFrameFormat& format,
                          std::vector<uint8_t>& bytes) {
        const int64_t limit =
            int64_t{format.lines >= 0 ? format.lines : kMaxDibSide + 1} * format.bytesPerLine;
        bytes.clear();
        if (format.lines >= 0)
            bytes.reserve(static_cast<size_t>(limit));
        // Reads block (the library's default): its non-blocking mode is not
        // dependable in every backend. The cancel request is looked at
        // between reads; a device that stops sending is given up by the
        // waiting side's stall timeout.
        std::vector<SANE_Byte> chunk(kReadChunk);
        for (;;) {
            if (progress.cancelRequested)
                return Cancelled();
            SANE_Int length = 0;
            const SANE_Status status =
                sane_read(handle_, chunk.data(), static_cast<SANE_Int>(chunk.size()), &length);
            if (status == SANE_STATUS_EOF)
                return ScanOutcome{ScanStatus::Done, {}, {}};
            if (status == SANE_STATUS_CANCELLED)
                return Cancelled();
            if (status != SANE_STATUS_GOOD)
                return Failure("the scanner stopped sending: " + StatusText(status));
            if (length <= 0) { // nothing this time (a negative length is ignored)
                std::this_thread::sleep_for(kIdleReadPause);
                continue;
            }
            if (length > static_cast<SANE_Int>(chunk.size()) ||
                static_cast<int64_t>(bytes.size()) + length > limit)
                return Failure("the scanner sent more data than it announced");
            bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + length);
            progress.bytesRead += length;
        }
    }

    bool started_ = false;
    SANE_Handle handle_ = nullptr;
};

} // namespace

std::unique_ptr<ScannerBackend> MakeSaneBackend() {
    return std::make_unique<SaneBackend>();
}

} // namespace halvera
