#include "RecordingPrompts.h"

#include "image/AppSettings.h"

namespace halvera::testing {

MessageAnswer RecordingPrompts::showMessage(const MessageRequest& request) {
    messages.push_back(request);
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    switch (request.buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Yes;
    case MessageButtons::RetryCancel:
        return MessageAnswer::Retry;
    case MessageButtons::SaveDiscardCancel:
        return MessageAnswer::Save;
    default:
        return MessageAnswer::Ok;
    }
}

std::optional<std::string> RecordingPrompts::askFileName(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileNames.empty())
        return std::nullopt;
    auto name = fileNames.front();
    fileNames.pop_front();
    return name;
}

std::vector<std::string> RecordingPrompts::askFileNames(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileNameLists.empty())
        return {};
    auto names = fileNameLists.front();
    fileNameLists.pop_front();
    return names;
}

std::optional<std::string> RecordingPrompts::askFolderName(const std::string& title) {
    folderRequests.push_back(title);
    if (folderNames.empty())
        return std::nullopt;
    auto name = folderNames.front();
    folderNames.pop_front();
    return name;
}

std::optional<int> RecordingPrompts::askJpegQuality() {
    ++qualityRequests;
    if (jpegQualities.empty())
        return 75;
    auto quality = jpegQualities.front();
    jpegQualities.pop_front();
    return quality;
}

std::optional<ImageSize> RecordingPrompts::askNewImageSize(AppSettings& settings) {
    ++newImageSizeRequests;
    if (newImageSizes.empty())
        return std::nullopt;
    const ImageSize size = newImageSizes.front();
    newImageSizes.pop_front();
    settings.ImageWidth = size.width;
    settings.ImageHeight = size.height;
    return size;
}

std::optional<TextAttributes> RecordingPrompts::askTextFont(const TextAttributes&) {
    ++textFontRequests;
    if (textFonts.empty())
        return std::nullopt;
    const TextAttributes font = textFonts.front();
    textFonts.pop_front();
    return font;
}

std::optional<std::string> RecordingPrompts::askText(const TextRequest& request) {
    textRequests.push_back(request);
    if (textAnswers.empty())
        return std::nullopt;
    std::optional<std::string> answer = textAnswers.front();
    textAnswers.pop_front();
    return answer;
}

std::vector<std::string> RecordingPrompts::texts() const {
    std::vector<std::string> result;
    for (const auto& message : messages)
        result.push_back(message.text);
    return result;
}

std::vector<RecoveryChoice>
RecordingPrompts::askRecovery(const std::vector<RecoveryOffer>& offers) {
    recoveryOffers.push_back(offers);
    if (recoveryAnswers.empty())
        return UserPrompts::askRecovery(offers);
    std::vector<RecoveryChoice> answer = recoveryAnswers.front();
    recoveryAnswers.pop_front();
    return answer;
}

bool RecordingPrompts::askPrintJob() {
    ++printRequests;
    if (printAnswers.empty())
        return true;
    const bool answer = printAnswers.front();
    printAnswers.pop_front();
    return answer;
}

} // namespace halvera::testing
