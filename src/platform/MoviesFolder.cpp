#include "platform/MoviesFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace halvera {

namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    // Without $HOME (a service, a cleared environment) the account still has one.
    if (const passwd* account = getpwuid(getuid()); account && account->pw_dir)
        return account->pw_dir;
    return "/";
}

} // namespace

std::string MoviesFolder() {
    if (const char* videos = std::getenv("XDG_VIDEOS_DIR"); videos && *videos == '/')
        return videos;
    std::string home = HomeFolder();
    if (!home.ends_with('/'))
        home += '/';
    return home + "Videos";
}

} // namespace halvera
