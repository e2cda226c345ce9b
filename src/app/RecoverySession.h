#pragma once

#include <string>
#include <vector>

namespace halvera {

// One running instance's claim on the recovery folder. While it lives, a
// session file names this process ("session-PID", holding the process's
// start mark so that a later process given the same number is not taken for
// it); the recovery copies it writes are "PID-N.hlvrec". Destroying the
// session (a clean exit) removes its file; a killed program leaves it behind,
// and the copies of a process that is gone are offered at the next start.
class RecoverySession {
public:
    // Creates `folder` when needed and writes the session file. A folder that
    // cannot be written leaves the session without a file (`active()` false).
    explicit RecoverySession(std::string folder);
    ~RecoverySession();
    RecoverySession(const RecoverySession&) = delete;
    RecoverySession& operator=(const RecoverySession&) = delete;

    bool active() const { return !sessionFile_.empty(); }
    const std::string& folder() const { return folder_; }
    // The file of this session's copy number `serial`.
    std::string CopyFile(int serial) const;

private:
    std::string folder_;
    std::string sessionFile_;
};

// The copies in `folder` whose instance is not running any more: its session
// file is gone or names a process that has ended. Sorted by name.
std::vector<std::string> AbandonedCopies(const std::string& folder);

// Removes the session files of instances that are not running (their copies
// stay until they are recovered or discarded).
void RemoveEndedSessions(const std::string& folder);

} // namespace halvera
