#pragma once

#include "platform/UserPrompts.h"

namespace halvera {

// Installs `prompts` for the calling thread only, for the lifetime of this
// object, ahead of the program's prompts: a worker thread that reads files
// may not open windows, so it collects what the readers would have said.
class ScopedThreadPrompts {
public:
    explicit ScopedThreadPrompts(UserPrompts& prompts);
    ~ScopedThreadPrompts();
    ScopedThreadPrompts(const ScopedThreadPrompts&) = delete;
    ScopedThreadPrompts& operator=(const ScopedThreadPrompts&) = delete;

private:
    UserPrompts* previous_;
};

} // namespace halvera
