#include "image/ReadFailure.h"

#include "image/PictureFiles.h"
#include "platform/UserPrompts.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace halvera {

namespace {

std::string WithDetail(std::string text, const std::string& detail) {
    return detail.empty() ? text : text + ": " + detail;
}

} // namespace

std::string ReadFailureText(const ReadFailure& failure) {
    switch (failure.problem) {
    case ReadProblem::NoSuchFile:
        return "there is no such file";
    case ReadProblem::NoPermission:
        return "no permission to read it";
    case ReadProblem::NotAFile:
        return "not a file but a folder or device";
    case ReadProblem::CannotOpen:
        return WithDetail("it cannot be opened", failure.detail);
    case ReadProblem::UnknownName:
        return std::string("its name ends in no picture type (") + kPictureEndings + ")";
    case ReadProblem::NotAPicture:
        return "not a " + failure.detail + " picture";
    case ReadProblem::Unsupported:
        return WithDetail("unsupported variant", failure.detail);
    case ReadProblem::Truncated:
        return "the file is cut short";
    case ReadProblem::Damaged:
        return WithDetail("the picture data are damaged", failure.detail);
    case ReadProblem::TooLarge:
        return WithDetail("larger than 30000 x 30000 pixels", failure.detail);
    case ReadProblem::OutOfMemory:
        return "not enough memory";
    }
    return {};
}

ReadFailure OpenFailureOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return {ReadProblem::NoSuchFile, {}};
    case EACCES:
    case EPERM:
        return {ReadProblem::NoPermission, {}};
    case EISDIR:
        return {ReadProblem::NotAFile, {}};
    default:
        return {ReadProblem::CannotOpen, std::strerror(error)};
    }
}

std::optional<ReadFailure> UnopenableFile(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return OpenFailureOf(errno);
    if (!S_ISREG(status.st_mode))
        return ReadFailure{ReadProblem::NotAFile, {}};
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return OpenFailureOf(errno);
    close(descriptor);
    return std::nullopt;
}

void ReportReadFailure(const std::string& path, const ReadFailure& failure) {
    ShowMessage("Can not read the file!\n" + path + ": " + ReadFailureText(failure),
                MessageIcon::Warning);
}

} // namespace halvera
