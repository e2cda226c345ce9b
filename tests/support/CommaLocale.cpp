#include "CommaLocale.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace halvera::testing {

CommaLocale::CommaLocale() {
    previous_ = std::setlocale(LC_ALL, nullptr);
    if (Switch())
        return;
    folder_ = std::filesystem::temp_directory_path() /
              ("halvera-test-locales-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + (folder_ / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0) {
        setenv("LOCPATH", folder_.c_str(), 1);
        Switch();
    }
}

CommaLocale::~CommaLocale() {
    std::setlocale(LC_ALL, previous_.c_str());
    unsetenv("LOCPATH");
    if (!folder_.empty())
        std::filesystem::remove_all(folder_);
}

bool CommaLocale::Switch() {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        return false;
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 1.5);
    active_ = std::string(text) == "1,5";
    return active_;
}

} // namespace halvera::testing
