#include "app/RecoveryFolder.h"

#include <cstdlib>

namespace halvera {

std::string RecoveryFolderFor(const char* stateHome, const char* home) {
    // The XDG rule: a relative path in the variable is invalid and ignored.
    if (stateHome && stateHome[0] == '/')
        return std::string(stateHome) + "/halvera/recovery";
    if (home && home[0] != '\0')
        return std::string(home) + "/.local/state/halvera/recovery";
    return {};
}

std::string RecoveryFolderOfEnvironment() {
    return RecoveryFolderFor(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

} // namespace halvera
