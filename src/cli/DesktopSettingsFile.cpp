#include "cli/DesktopSettingsFile.h"

#include "image/AtomicFileWriter.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace halvera {

namespace {

// QSettings writes a group name with every byte outside letters, digits and
// "-_." as %XX.
std::string SectionHeader(std::string_view section) {
    std::string header = "[";
    for (const char c : section) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || c == '-' || c == '_' || c == '.') {
            header += c;
            continue;
        }
        constexpr char kHex[] = "0123456789ABCDEF";
        header += '%';
        header += kHex[byte >> 4];
        header += kHex[byte & 15];
    }
    return header + "]";
}

bool IsSectionHeader(const std::string& line) {
    return !line.empty() && line.front() == '[';
}

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The key of a "key=value" line, or nothing for any other line.
std::string_view KeyOf(const std::string& line) {
    const size_t equals = line.find('=');
    return equals == std::string::npos ? std::string_view()
                                       : Trimmed(std::string_view(line).substr(0, equals));
}

std::string UnescapedValue(std::string_view text) {
    text = Trimmed(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    std::string value;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size())
            ++i;
        value += text[i];
    }
    return value;
}

std::string EscapedValue(std::string_view value) {
    std::string escaped;
    bool quoted = !value.empty() && (value.front() == ' ' || value.back() == ' ');
    for (const char c : value) {
        if (c == ';' || c == ',' || c == '=')
            quoted = true;
        if (c == '\\' || c == '"')
            escaped += '\\';
        escaped += c;
    }
    return quoted ? "\"" + escaped + "\"" : escaped;
}

} // namespace

DesktopSettingsFile::DesktopSettingsFile(std::string path) : path_(std::move(path)) {
    std::ifstream file(path_);
    for (std::string line; std::getline(file, line);)
        lines_.push_back(line);
}

std::string DesktopSettingsFile::DefaultPath() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path folder;
    if (configHome && *configHome)
        folder = configHome;
    else if (const char* home = std::getenv("HOME"))
        folder = std::filesystem::path(home) / ".config";
    return (folder / " HLVT" / "Halvera.ini").string();
}

size_t DesktopSettingsFile::findKey(std::string_view section, std::string_view key) const {
    const std::string header = SectionHeader(section);
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (IsSectionHeader(lines_[i]))
            inSection = Trimmed(lines_[i]) == header;
        else if (inSection && KeyOf(lines_[i]) == key)
            return i;
    }
    return lines_.size();
}

size_t DesktopSettingsFile::insertionPoint(std::string_view section) {
    const std::string header = SectionHeader(section);
    size_t i = 0;
    while (i < lines_.size() && Trimmed(lines_[i]) != header)
        ++i;
    if (i == lines_.size()) {
        if (!lines_.empty() && !Trimmed(lines_.back()).empty())
            lines_.emplace_back();
        lines_.push_back(header);
        return lines_.size();
    }
    size_t end = i + 1;
    for (size_t line = i + 1; line < lines_.size() && !IsSectionHeader(lines_[line]); ++line)
        if (!Trimmed(lines_[line]).empty())
            end = line + 1;
    return end;
}

std::optional<std::string> DesktopSettingsFile::readString(std::string_view section,
                                                           std::string_view key) {
    const size_t line = findKey(section, key);
    if (line == lines_.size())
        return std::nullopt;
    return UnescapedValue(std::string_view(lines_[line]).substr(lines_[line].find('=') + 1));
}

std::optional<int> DesktopSettingsFile::readInt(std::string_view section, std::string_view key) {
    const std::optional<std::string> text = readString(section, key);
    if (!text)
        return std::nullopt;
    const std::string_view digits = Trimmed(*text);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

void DesktopSettingsFile::writeInt(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

void DesktopSettingsFile::writeString(std::string_view section, std::string_view key,
                                      std::string_view value) {
    const std::string line = std::string(key) + "=" + EscapedValue(value);
    const size_t existing = findKey(section, key);
    if (existing < lines_.size()) {
        lines_[existing] = line;
        return;
    }
    const size_t at = insertionPoint(section);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), line);
}

bool DesktopSettingsFile::Commit() const {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
    AtomicFileWriter file(path_);
    if (!file.Open())
        return false;
    for (const std::string& line : lines_) {
        const std::string text = line + "\n";
        if (!file.Write(text.data(), text.size()))
            return false;
    }
    return file.Commit();
}

} // namespace halvera
