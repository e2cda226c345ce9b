#pragma once

#include <filesystem>
#include <string>

namespace halvera::testing {

// Switches the C library to a locale whose decimal mark is a comma, as the
// desktop program's toolkit does on a German desktop, and back at the end. When
// the machine has no such locale one is compiled into a private folder.
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool active() const { return active_; }

private:
    bool Switch();

    std::string previous_;
    std::filesystem::path folder_;
    bool active_ = false;
};

} // namespace halvera::testing
