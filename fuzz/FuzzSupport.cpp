#include "FuzzSupport.h"

#include "image/ConvertPackedDib.h"
#include "image/DibImage.h"
#include "image/PackedDib.h"
#include "platform/UserPrompts.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace halvera::fuzz {

namespace {

class SilentPrompts : public UserPrompts {
public:
    MessageAnswer showMessage(const MessageRequest&) override { return MessageAnswer::Ok; }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    std::optional<std::string> askFileName(const FileDialogRequest&) override { return {}; }
    std::optional<int> askJpegQuality() override { return {}; }
    std::optional<ImageSize> askNewImageSize(AppSettings&) override { return {}; }
};

std::string ScratchFolder() {
    struct stat status {};
    if (stat("/dev/shm", &status) == 0 && S_ISDIR(status.st_mode) && access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    const char* temporary = std::getenv("TMPDIR");
    return temporary != nullptr && *temporary != '\0' ? temporary : "/tmp";
}

const std::string& InputPath() {
    static const std::string path =
        ScratchFolder() + "/halvera-fuzz-" + std::to_string(getpid()) + ".input";
    return path;
}

void RemoveInputFile() {
    std::remove(InputPath().c_str());
}

} // namespace

void InstallSilentPrompts() {
    static SilentPrompts prompts;
    static ScopedPrompts scope(prompts);
}

const std::string& WriteInputFile(const uint8_t* data, size_t size) {
    static const bool removalRegistered = std::atexit(RemoveInputFile) == 0;
    (void)removalRegistered;
    const std::string& path = InputPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort(); // the run would test nothing
    }
    return path;
}

void RequireConvertible(const PackedDib& picture) {
    const BitmapInfoHeader& header = *picture.header();
    DibBlock image;
    if (!CreateRgb(image, header.biWidth, header.biHeight))
        return;
    if (!ConvertPackedDib(picture, image.dib()))
        std::abort();
}

} // namespace halvera::fuzz
