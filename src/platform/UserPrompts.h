#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvera {

struct AppSettings;
struct TextAttributes;

// Everything that would open a window to tell or ask the user goes through
// this interface. The desktop program answers with Qt dialogs, the batch tool
// prints to standard error, and tests script the answers, so no code path of
// the core ever blocks on a modal window.

enum class MessageIcon { None, Information, Warning, Stop, Question };
// SaveDiscardCancel asks about work that closing would lose, with the
// desktop's own Save, Discard and Cancel buttons.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, SaveDiscardCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry, Save, Discard };

struct MessageRequest {
    std::string text;
    std::string caption; // empty: the program's own name
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

struct FileDialogRequest {
    bool save = false;
    std::string title;        // empty: the toolkit's default
    std::string filter;       // "Name(*.a; *.b)|*.a; *.b|Other files(*.*)|*.*||"
    std::string proposedName; // file name or path shown at the start
    std::string defaultExtension;
    bool promptOverwrite = false;
    bool pathMustExist = false;
    bool fileMustExist = false;
};

struct ImageSize {
    int width = 0;
    int height = 0;
    bool operator==(const ImageSize&) const = default;
};

// A question answered with one line of text, such as a name to keep
// something under.
struct TextRequest {
    std::string title;    // the window's caption
    std::string label;    // the question above the field
    std::string proposed; // the text the field starts with
};

// A recovery copy of an image left by a program that did not end cleanly, as
// the start-up offer shows it.
struct RecoveryOffer {
    std::string name; // the image's title
    int width = 0;
    int height = 0;
    std::time_t savedAt = 0; // when the copy was written
};
// What to do with one offered copy: open it, delete it, or ask again at the
// next start.
enum class RecoveryChoice { Recover, Discard, Later };

class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    virtual MessageAnswer showMessage(const MessageRequest& request) = 0;
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;
    // A file name, or nothing when the user cancels.
    virtual std::optional<std::string> askFileName(const FileDialogRequest& request) = 0;
    // The "Quality" choice before a JPEG is written: 0..100, or nothing on Cancel.
    virtual std::optional<int> askJpegQuality() = 0;
    // The "New image size" question. On OK the size rules are applied and the
    // size is stored in `settings` (ImageWidth, ImageHeight); the result is the
    // size to create, or nothing on Cancel.
    virtual std::optional<ImageSize> askNewImageSize(AppSettings& settings) = 0;
    // The font dialog of the text tool, preset with `current` (font, effects
    // and colour): the attributes chosen, or nothing on Cancel. Without
    // windows the answer is Cancel.
    virtual std::optional<TextAttributes> askTextFont(const TextAttributes& current);
    // The print dialog for the program's printer (no selection printing): true
    // on OK, the printer then set to what the user chose. Without windows the
    // answer is Cancel.
    virtual bool askPrintJob();
    // A line of text (`request`), as typed, or nothing on Cancel. Without
    // windows the answer is Cancel.
    virtual std::optional<std::string> askText(const TextRequest& request);
    // The offer of recovery copies at start: one choice per offer, in order.
    // Without windows every copy waits for a later start.
    virtual std::vector<RecoveryChoice> askRecovery(const std::vector<RecoveryOffer>& offers);
};

// The prompts in force; the batch tool's standard-error prompts until a
// program or test installs its own.
UserPrompts& Prompts();

// Installs `prompts` for the lifetime of this object, then puts back the previous ones.
class ScopedPrompts {
public:
    explicit ScopedPrompts(UserPrompts& prompts);
    ~ScopedPrompts();
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;

private:
    UserPrompts* previous_;
};

// Shorthand for the common message box.
MessageAnswer ShowMessage(std::string_view text, MessageIcon icon = MessageIcon::None,
                          MessageButtons buttons = MessageButtons::Ok,
                          std::string_view caption = {});

// Shows the wait cursor from construction to destruction.
class WaitCursor {
public:
    WaitCursor() { Prompts().beginWaitCursor(); }
    ~WaitCursor() { Prompts().endWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace halvera
