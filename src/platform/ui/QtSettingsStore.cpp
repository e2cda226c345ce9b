#include "platform/ui/QtSettingsStore.h"

namespace halvera {

namespace {

// The leading blank of " HLVT" belongs to the name (see the platform notes).
const QString kOrganization = QStringLiteral(" HLVT");
const QString kApplication = QStringLiteral("Halvera");

QString KeyPath(std::string_view section, std::string_view key) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + u'/' +
           QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::IniFormat, QSettings::UserScope, kOrganization, kApplication) {}

QtSettingsStore::QtSettingsStore(const QString& iniFile)
    : settings_(iniFile, QSettings::IniFormat) {}

std::optional<int> QtSettingsStore::readInt(std::string_view section, std::string_view key) {
    const QVariant value = settings_.value(KeyPath(section, key));
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

std::optional<std::string> QtSettingsStore::readString(std::string_view section,
                                                       std::string_view key) {
    const QVariant value = settings_.value(KeyPath(section, key));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

void QtSettingsStore::writeInt(std::string_view section, std::string_view key, int value) {
    settings_.setValue(KeyPath(section, key), QString::number(value));
}

void QtSettingsStore::writeString(std::string_view section, std::string_view key,
                                  std::string_view value) {
    settings_.setValue(KeyPath(section, key),
                       QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

} // namespace halvera
