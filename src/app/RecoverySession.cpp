#include "app/RecoverySession.h"

#include "app/RecoveryCopyFile.h"
#include "image/AtomicFileWriter.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace halvera {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSessionPrefix = "session-";

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// What tells process `pid` apart from an earlier one of the same number: the
// boot it runs in and its start time in clock ticks since that boot. Empty
// when there is no such process.
std::string StartMarkOf(long pid) {
    const std::string stat = ReadWhole("/proc/" + std::to_string(pid) + "/stat");
    // The command name in parentheses may hold blanks: count fields after it.
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return {};
    std::istringstream fields(stat.substr(nameEnd + 1));
    // Field 22 of the line is the start time; fields 3..21 come first.
    constexpr int kFieldsBeforeStartTime = 19;
    std::string field;
    for (int i = 0; i <= kFieldsBeforeStartTime && fields >> field; ++i) {
    }
    const std::string bootId = ReadWhole("/proc/sys/kernel/random/boot_id");
    return fields ? bootId.substr(0, bootId.find('\n')) + " " + field : std::string();
}

std::optional<long> NumberAt(std::string_view text) {
    long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end == text.data())
        return std::nullopt;
    return number;
}

// The process that wrote copy `name` ("PID-N.hlvrec").
std::optional<long> OwnerOfCopy(const std::string& name) {
    return NumberAt(std::string_view(name).substr(0, name.find('-')));
}

std::string SessionFileFor(const std::string& folder, long pid) {
    return folder + "/" + std::string(kSessionPrefix) + std::to_string(pid);
}

bool IsRunningInstance(const std::string& folder, long pid) {
    const std::string sessionFile = SessionFileFor(folder, pid);
    if (!fs::exists(sessionFile))
        return false;
    const std::string mark = StartMarkOf(pid);
    return !mark.empty() && ReadWhole(sessionFile) == mark;
}

std::vector<fs::path> FolderEntries(const std::string& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        entries.push_back(entry.path());
    return entries;
}

} // namespace

RecoverySession::RecoverySession(std::string folder) : folder_(std::move(folder)) {
    std::error_code error;
    fs::create_directories(folder_, error);
    const std::string file = SessionFileFor(folder_, getpid());
    const std::string mark = StartMarkOf(getpid());
    AtomicFileWriter session(file);
    if (session.Open() && session.Write(mark.data(), mark.size()) && session.Commit())
        sessionFile_ = file;
}

RecoverySession::~RecoverySession() {
    if (active()) {
        std::error_code error;
        fs::remove(sessionFile_, error);
    }
}

std::string RecoverySession::CopyFile(int serial) const {
    return folder_ + "/" + std::to_string(getpid()) + "-" + std::to_string(serial) +
           kRecoveryCopyExtension;
}

std::vector<std::string> AbandonedCopies(const std::string& folder) {
    std::vector<std::string> copies;
    for (const fs::path& entry : FolderEntries(folder)) {
        if (entry.extension() != kRecoveryCopyExtension)
            continue;
        const std::optional<long> owner = OwnerOfCopy(entry.filename().string());
        if (owner && !IsRunningInstance(folder, *owner))
            copies.push_back(entry.string());
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

void RemoveEndedSessions(const std::string& folder) {
    for (const fs::path& entry : FolderEntries(folder)) {
        const std::string name = entry.filename().string();
        if (!name.starts_with(kSessionPrefix))
            continue;
        const std::optional<long> pid =
            NumberAt(std::string_view(name).substr(kSessionPrefix.size()));
        if (pid && !IsRunningInstance(folder, *pid)) {
            std::error_code error;
            fs::remove(entry, error);
        }
    }
}

} // namespace halvera
