#pragma once

#include <QDialog>
#include <vector>

class QLineEdit;

namespace halvera {

struct AppSettings;

// One whole-number setting the "Settings" dialog shows: its label, the unit
// written after the field, the setting it edits and the values it accepts.
// A new setting is one more row of kSettingRows (SettingsDialog.cpp).
struct SettingRow {
    const char* label;
    const char* unit;
    int AppSettings::*field;
    int min;
    int max;
    const char* objectName; // the field's, for tests and accessibility
};

// "Settings": one labelled number field per setting row. OK checks every
// field ("Please enter an integer between MIN and MAX." and the dialog stays
// open) and then stores them all; Cancel stores nothing.
class CSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSettingsDialog(AppSettings& settings, QWidget* parent = nullptr);

    void accept() override;

private:
    AppSettings& settings_;
    std::vector<QLineEdit*> fields_; // one per row of kSettingRows, in order
};

// Opens the dialog on the application's settings (the Settings command);
// true when OK stored new values.
bool RunSettingsDialog(AppSettings& settings, QWidget* parent);

} // namespace halvera
