#include "platform/UserPrompts.h"

#include "platform/StandardErrorPrompts.h"
#include "platform/TextAttributes.h"
#include "platform/ThreadPrompts.h"

#include <cstdio>

namespace halvera {

namespace {

UserPrompts*& CurrentPrompts() {
    static StandardErrorPrompts fallback;
    static UserPrompts* current = &fallback;
    return current;
}

// The prompts of the calling thread, when it installed its own.
UserPrompts*& ThreadPrompts() {
    thread_local UserPrompts* prompts = nullptr;
    return prompts;
}

} // namespace

UserPrompts& Prompts() {
    if (UserPrompts* own = ThreadPrompts())
        return *own;
    return *CurrentPrompts();
}

std::optional<TextAttributes> UserPrompts::askTextFont(const TextAttributes&) {
    return std::nullopt;
}

bool UserPrompts::askPrintJob() {
    return false;
}

std::optional<std::string> UserPrompts::askText(const TextRequest&) {
    return std::nullopt;
}

std::vector<RecoveryChoice> UserPrompts::askRecovery(const std::vector<RecoveryOffer>& offers) {
    return std::vector<RecoveryChoice>(offers.size(), RecoveryChoice::Later);
}

ScopedPrompts::ScopedPrompts(UserPrompts& prompts) : previous_(CurrentPrompts()) {
    CurrentPrompts() = &prompts;
}

ScopedPrompts::~ScopedPrompts() {
    CurrentPrompts() = previous_;
}

ScopedThreadPrompts::ScopedThreadPrompts(UserPrompts& prompts) : previous_(ThreadPrompts()) {
    ThreadPrompts() = &prompts;
}

ScopedThreadPrompts::~ScopedThreadPrompts() {
    ThreadPrompts() = previous_;
}

MessageAnswer ShowMessage(std::string_view text, MessageIcon icon, MessageButtons buttons,
                          std::string_view caption) {
    return Prompts().showMessage(
        MessageRequest{std::string(text), std::string(caption), icon, buttons});
}

MessageAnswer StandardErrorPrompts::showMessage(const MessageRequest& request) {
    // Messages may end in "\n" already; one line break is enough.
    std::string text = request.text;
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    std::fprintf(stderr, "%s\n", text.c_str());
    switch (request.buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Cancel;
    }
}

} // namespace halvera
