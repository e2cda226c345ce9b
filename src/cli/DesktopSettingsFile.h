#pragma once

#include "platform/SettingsStore.h"

#include <string>
#include <vector>

namespace halvera {

// The desktop program's settings file ($XDG_CONFIG_HOME, else ~/.config, then
// " HLVT/Halvera.ini"), an INI file as QSettings writes it: the section
// " HLVT" is "[%20HLVT]", a value is "key=value", quoted when it holds ";",
// "," or "=" or starts or ends with a blank, with "\" and '"' escaped.
// The batch tool reads its preset list here and --save-preset writes it
// back; no other setting of the desktop is touched.
//
// The file is read once when constructed; writes change the lines in memory
// and Commit replaces the file whole, every other line kept as it was.
class DesktopSettingsFile : public SettingsStore {
public:
    explicit DesktopSettingsFile(std::string path);

    // The desktop program's settings file for this user.
    static std::string DefaultPath();

    std::optional<int> readInt(std::string_view section, std::string_view key) override;
    std::optional<std::string> readString(std::string_view section, std::string_view key) override;
    void writeInt(std::string_view section, std::string_view key, int value) override;
    void writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;

    // Writes the file whole, creating its folder when absent. False when it
    // cannot be written; the file on disk is then as it was.
    bool Commit() const;

    const std::string& path() const { return path_; }

private:
    // The index of the line holding `key` in `section`, or the line count.
    size_t findKey(std::string_view section, std::string_view key) const;
    // Where a new key of `section` goes: after its last line, appending the
    // section's header when the file has none.
    size_t insertionPoint(std::string_view section);

    std::string path_;
    std::vector<std::string> lines_;
};

} // namespace halvera
