#include "measure/InspectionPictures.h"

#include "image/ConvertPackedDib.h"
#include "image/PictureFiles.h"
#include "platform/ThreadPrompts.h"

namespace halvera {

namespace {

// Keeps the messages of one thread's reads; every question is cancelled.
class MessageCollector : public UserPrompts {
public:
    MessageAnswer showMessage(const MessageRequest& request) override {
        if (!text.empty())
            text += "; ";
        text += request.text;
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    std::optional<std::string> askFileName(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<int> askJpegQuality() override { return std::nullopt; }
    std::optional<ImageSize> askNewImageSize(AppSettings&) override { return std::nullopt; }

    std::string text;
};

} // namespace

LoadedPicture LoadInspectionPicture(const std::string& path) {
    MessageCollector messages;
    const ScopedThreadPrompts quiet(messages);
    LoadedPicture loaded;
    const PictureFromFile file = OpenPictureFile(path);
    if (!file.picture || PackedDibFailure(file.picture)) {
        loaded.failure = messages.text.empty() ? "the picture could not be read" : messages.text;
        return loaded;
    }
    const BitmapInfoHeader& header = *file.picture.header();
    if (!CreateRgb(loaded.block, header.biWidth, header.biHeight)) {
        loaded.failure = "not enough memory for the picture";
        return loaded;
    }
    ConvertPackedDib(file.picture, loaded.block.dib());
    loaded.picture = loaded.block.dib();
    return loaded;
}

} // namespace halvera
