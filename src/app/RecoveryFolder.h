#pragma once

#include <string>

namespace halvera {

// The folder that holds the recovery copies of unsaved images:
// `$XDG_STATE_HOME/halvera/recovery`, or `~/.local/state/halvera/recovery`
// when XDG_STATE_HOME is unset, empty or not absolute (the XDG rule). Either
// variable may be null. Empty when neither gives a folder.
std::string RecoveryFolderFor(const char* stateHome, const char* home);

// The recovery folder of the environment this process runs in.
std::string RecoveryFolderOfEnvironment();

} // namespace halvera
