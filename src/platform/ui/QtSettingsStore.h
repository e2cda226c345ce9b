#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>

namespace halvera {

// The settings store of the desktop program: the per-user configuration of
// the platform ($XDG_CONFIG_HOME/ HLVT/Halvera.conf on Linux), kept through
// QSettings. Integers are stored as decimal text, strings as they are.
class QtSettingsStore : public SettingsStore {
public:
    // The program's own store: organization " HLVT", application "Halvera".
    QtSettingsStore();
    // A store in the given INI file.
    explicit QtSettingsStore(const QString& iniFile);

    std::optional<int> readInt(std::string_view section, std::string_view key) override;
    std::optional<std::string> readString(std::string_view section, std::string_view key) override;
    void writeInt(std::string_view section, std::string_view key, int value) override;
    void writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;

    // Writes pending changes to the file now and reads what others wrote.
    void sync() override { settings_.sync(); }
    QString fileName() const { return settings_.fileName(); }

private:
    QSettings settings_;
};

} // namespace halvera
