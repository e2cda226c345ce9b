#include "app/ui/SettingsDialog.h"

#include "image/AppSettings.h"
#include "view/ui/IntegerField.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <array>
#include <optional>

namespace halvera {

namespace {

constexpr std::array kSettingRows = {
    SettingRow{"Undo memory", "MB", &AppSettings::UndoMemory, AppSettings::kMinUndoMemory,
               AppSettings::kMaxUndoMemory, "undoMemory"},
    SettingRow{"Autosave minutes", "min (0: off)", &AppSettings::AutosaveMinutes,
               AppSettings::kMinAutosaveMinutes, AppSettings::kMaxAutosaveMinutes,
               "autosaveMinutes"},
};

QLineEdit* AddRow(QFormLayout& form, const SettingRow& row, int value, QWidget* parent) {
    auto* field = new QLineEdit(QString::number(value), parent);
    field->setObjectName(QString::fromLatin1(row.objectName));
    // Digits only while typing; the range is checked on OK, with its message.
    field->setValidator(new QIntValidator(0, row.max, field));
    auto* withUnit = new QHBoxLayout;
    withUnit->addWidget(field);
    withUnit->addWidget(new QLabel(QString::fromLatin1(row.unit), parent));
    form.addRow(QString::fromLatin1(row.label), withUnit);
    return field;
}

} // namespace

CSettingsDialog::CSettingsDialog(AppSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Settings"));
    auto* form = new QFormLayout;
    for (const SettingRow& row : kSettingRows)
        fields_.push_back(AddRow(*form, row, settings_.*row.field, this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CSettingsDialog::accept() {
    std::array<int, kSettingRows.size()> values{};
    for (size_t i = 0; i < kSettingRows.size(); ++i) {
        const std::optional<int> value =
            ReadIntegerField(fields_[i], kSettingRows[i].min, kSettingRows[i].max);
        if (!value)
            return;
        values[i] = *value;
    }
    for (size_t i = 0; i < kSettingRows.size(); ++i)
        settings_.*kSettingRows[i].field = values[i];
    QDialog::accept();
}

bool RunSettingsDialog(AppSettings& settings, QWidget* parent) {
    CSettingsDialog dialog(settings, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace halvera
