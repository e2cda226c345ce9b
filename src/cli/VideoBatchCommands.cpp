#include "cli/VideoBatchCommands.h"

#include "acquire/VideoMessages.h"
#include "acquire/VideoSystem.h"
#include "cli/BatchTool.h"
#include "cli/CliOperation.h"
#include "document/MavDoc.h"
#include "image/AppSettings.h"
#include "image/PictureFiles.h"
#include "platform/UserPrompts.h"

#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

namespace halvera {

namespace {

using Clock = std::chrono::steady_clock;

// How long snap waits for the first frame of a device.
constexpr auto kFirstFrameTimeout = std::chrono::seconds(5);
constexpr auto kPollInterval = std::chrono::milliseconds(10);

double ParsePositive(const std::string& text, const std::string& option) {
    const std::optional<double> value = ParseReal(text);
    if (!value || !(*value > 0.0))
        throw UsageError(option + " must be a number above 0, not '" + text + "'");
    return *value;
}

int64_t ParseFrameIndex(const std::string& text) {
    int64_t value = -1;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || error != std::errc() || end != last || value < 0)
        throw UsageError("N must be a whole number from 0, not '" + text + "'");
    return value;
}

// The recording is written as AVI whatever the name says, so the name must say AVI.
void RequireAviName(const std::string& path) {
    const std::string ending = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
    const bool avi = ending.size() == 4 && ending[0] == '.' &&
                     std::tolower(static_cast<unsigned char>(ending[1])) == 'a' &&
                     std::tolower(static_cast<unsigned char>(ending[2])) == 'v' &&
                     std::tolower(static_cast<unsigned char>(ending[3])) == 'i';
    if (!avi)
        throw UsageError("record writes AVI video: the output file must end in .avi: " + path);
}

void RequireWords(const VideoCommandLine& line, size_t count, const char* words) {
    if (line.positional.size() != count)
        throw UsageError(line.command + " takes " + words);
}

constexpr CommandOption kSnapOptions[] = {{"--source"}, {"--quality"}, {"--force", false}};
constexpr CommandOption kRecordOptions[] = {{"--time"}, {"--rate"}, {"--source"}};
constexpr CommandOption kVideoFrameOptions[] = {{"--quality"}, {"--force", false}};

// The device to use: the one named, else the first. Nothing after the message.
struct ChosenSource {
    int index = 0;
    std::string name;
};

std::optional<ChosenSource> ChooseSource(const std::optional<std::string>& wanted) {
    const std::optional<std::vector<std::string>> names = Video().listSources();
    if (!names)
        return {};
    if (!wanted)
        return ChosenSource{0, names->front()};
    for (size_t i = 0; i < names->size(); ++i) {
        if ((*names)[i] == *wanted)
            return ChosenSource{static_cast<int>(i), *wanted};
    }
    ShowMessage(kMsgSelectSource);
    return {};
}

// Writes a snapped picture as Save writes an image, over a file the command
// has already been allowed to replace (MayReplacePictureFile).
bool WritePicture(PackedDib picture, const std::string& path) {
    AppSettings settings;
    CMavDoc doc(settings);
    return doc.OnNewDocument(std::move(picture)) &&
           doc.SaveByExtension(path, CMavDoc::RicherFile::Replace);
}

int RunVideoSources(const VideoCommandLine& line) {
    RequireWords(line, 0, "no files: video-sources");
    const std::optional<std::vector<std::string>> names = Video().listSources();
    if (!names)
        return kExitFailure;
    for (const std::string& name : *names)
        std::printf("%s\n", name.c_str());
    return kExitSuccess;
}

int RunSnap(const VideoCommandLine& line) {
    RequireWords(line, 1, "one file: snap OUT [--source NAME]");
    RequirePictureName(line.positional[0]);
    if (!MayReplacePictureFile(line.positional[0], line.force))
        return kExitFailure;
    const std::optional<ChosenSource> source = ChooseSource(line.source);
    if (!source)
        return kExitFailure;
    std::unique_ptr<LiveVideo> stream = Video().openPreview(source->index, source->name);
    if (!stream)
        return kExitFailure;
    const Clock::time_point deadline = Clock::now() + kFirstFrameTimeout;
    PackedDib picture;
    while (!(picture = stream->snapshot()) && Clock::now() < deadline) {
        if (!stream->takeEvents().empty())
            break;
        std::this_thread::sleep_for(kPollInterval);
    }
    if (!picture) {
        ShowMessage("No frame came from the video source.");
        return kExitFailure;
    }
    return WritePicture(std::move(picture), line.positional[0]) ? kExitSuccess : kExitFailure;
}

int RunRecord(const VideoCommandLine& line) {
    RequireWords(line, 1, "one file: record OUT.avi --time SECONDS --rate FPS [--source NAME]");
    RequireAviName(line.positional[0]);
    if (!line.time || !line.rate)
        throw UsageError("record needs --time SECONDS and --rate FPS");
    const double seconds = ParsePositive(*line.time, "--time");
    const double rate = ParsePositive(*line.rate, "--rate");
    const std::optional<ChosenSource> source = ChooseSource(line.source);
    if (!source)
        return kExitFailure;
    std::unique_ptr<VideoRecording> recording =
        Video().openRecording(source->index, source->name, line.positional[0], rate);
    if (!recording)
        return kExitFailure;
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double>(seconds));
    bool lost = false;
    while (Clock::now() < end && !lost) {
        lost = !recording->takeEvents().empty();
        std::this_thread::sleep_for(kPollInterval);
    }
    const int64_t frames = recording->finish();
    if (frames < 0) {
        ShowMessage("The video file could not be finished: " + line.positional[0]);
        return kExitFailure;
    }
    std::printf("%lld\n", static_cast<long long>(frames));
    if (lost) {
        ShowMessage("The video source stopped sending before the time was up; " +
                    line.positional[0] + " holds the frames recorded until then.");
        return kExitFailure;
    }
    return kExitSuccess;
}

int RunVideoFrame(const VideoCommandLine& line) {
    RequireWords(line, 3, "three words: video-frame IN N OUT");
    const std::string& video = line.positional[0];
    const int64_t index = ParseFrameIndex(line.positional[1]);
    RequirePictureName(line.positional[2]);
    if (!MayReplacePictureFile(line.positional[2], line.force))
        return kExitFailure;
    std::unique_ptr<VideoPlayback> playback = Video().openFile(video);
    if (!playback)
        return kExitFailure;
    const std::string frame = "frame " + std::to_string(index) + " of " + video;
    const int64_t count = playback->frameCount();
    if (count == 0) {
        ShowMessage("The frames of " + video + " could not be counted.");
        return kExitFailure;
    }
    if (index >= count) {
        ShowMessage("The video has " + std::to_string(count) + (count == 1 ? " frame" : " frames") +
                    "; there is no frame " + std::to_string(index) + ".");
        return kExitFailure;
    }
    if (!playback->seekFrame(index)) {
        ShowMessage("The player could not go to " + frame + ".");
        return kExitFailure;
    }
    PackedDib picture = playback->snapshot();
    if (!picture) {
        ShowMessage("The player showed no picture for " + frame + ".");
        return kExitFailure;
    }
    return WritePicture(std::move(picture), line.positional[2]) ? kExitSuccess : kExitFailure;
}

} // namespace

bool IsVideoCommand(const std::string& command) {
    return command == "video-sources" || command == "snap" || command == "record" ||
           command == "video-frame";
}

std::span<const CommandOption> VideoCommandOptions(const std::string& command) {
    if (command == "snap")
        return kSnapOptions;
    if (command == "record")
        return kRecordOptions;
    if (command == "video-frame")
        return kVideoFrameOptions;
    return {};
}

std::string VideoCommandUsage(const std::string& command) {
    if (command == "video-sources")
        return "       halvera-cli video-sources\n";
    if (command == "snap")
        return "       halvera-cli snap OUT [--source NAME] [--quality Q] [--force]\n";
    if (command == "record")
        return "       halvera-cli record OUT.avi --time SECONDS --rate FPS [--source NAME]\n";
    return "       halvera-cli video-frame IN N OUT [--quality Q] [--force]\n";
}

int RunVideoCommand(const VideoCommandLine& line) {
    if (line.command == "video-sources")
        return RunVideoSources(line);
    if (line.command == "snap")
        return RunSnap(line);
    if (line.command == "record")
        return RunRecord(line);
    return RunVideoFrame(line);
}

} // namespace halvera
