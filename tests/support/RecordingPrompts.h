#pragma once

#include "document/TextSettings.h"
#include "platform/FileListPrompts.h"
#include "platform/UserPrompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace halvera::testing {

// Prompts for tests: records every message and answers questions from
// scripted queues (Ok/Yes first by default), so no test waits on a window.
class RecordingPrompts : public UserPrompts, public FileListPrompts {
public:
    MessageAnswer showMessage(const MessageRequest& request) override;
    void beginWaitCursor() override { ++waitCursorBegins; }
    void endWaitCursor() override { ++waitCursorEnds; }
    std::optional<std::string> askFileName(const FileDialogRequest& request) override;
    // Answers from `fileNameLists` (empty: cancel); the request is recorded
    // with the others.
    std::vector<std::string> askFileNames(const FileDialogRequest& request) override;
    // Records the title in `folderRequests`; answers from `folderNames`
    // (empty: cancel).
    std::optional<std::string> askFolderName(const std::string& title) override;
    std::optional<int> askJpegQuality() override;
    // Answers from `newImageSizes` (empty: Cancel); an answer is stored in the
    // settings as the dialog stores it.
    std::optional<ImageSize> askNewImageSize(AppSettings& settings) override;
    // Answers from `textFonts` (empty: Cancel).
    std::optional<TextAttributes> askTextFont(const TextAttributes& current) override;
    // Answers from `printAnswers` (empty: OK).
    bool askPrintJob() override;
    // Records the request; answers from `textAnswers` (empty: Cancel).
    std::optional<std::string> askText(const TextRequest& request) override;
    // Records the offers; answers from `recoveryAnswers` (empty: Later for
    // every copy), one choice per offer.
    std::vector<RecoveryChoice> askRecovery(const std::vector<RecoveryOffer>& offers) override;

    // Texts of the messages shown, in order.
    std::vector<std::string> texts() const;

    std::vector<MessageRequest> messages;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<MessageAnswer> answers; // empty: Ok, Yes for Yes/No questions, Save for Save/Discard
    std::deque<std::optional<std::string>> fileNames;   // empty: cancel
    std::deque<std::vector<std::string>> fileNameLists; // empty: cancel
    std::vector<std::string> folderRequests;
    std::deque<std::optional<std::string>> folderNames; // empty: cancel
    std::deque<std::optional<int>> jpegQualities;       // empty: 75
    std::deque<ImageSize> newImageSizes;
    std::deque<TextAttributes> textFonts;
    int textFontRequests = 0;
    std::vector<TextRequest> textRequests;
    std::deque<std::optional<std::string>> textAnswers; // nothing: Cancel
    std::deque<bool> printAnswers;
    int printRequests = 0;
    std::deque<std::vector<RecoveryChoice>> recoveryAnswers;
    std::vector<std::vector<RecoveryOffer>> recoveryOffers;
    int qualityRequests = 0;
    int newImageSizeRequests = 0;
    int waitCursorBegins = 0;
    int waitCursorEnds = 0;
};

// Installs a RecordingPrompts for the scope of a test.
class ScopedRecordingPrompts : public RecordingPrompts {
public:
    ScopedRecordingPrompts() : scope_(*this), fileListScope_(*this) {}

private:
    ScopedPrompts scope_;
    ScopedFileListPrompts fileListScope_;
};

} // namespace halvera::testing
