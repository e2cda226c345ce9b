#pragma once

#include <QDialogButtonBox>
#include <QString>
#include <QWidget>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class QComboBox;
class QDialog;
class QLineEdit;

namespace halvera::testing {

// Helpers for GUI tests that work a dialog as a user does.

// The dialog's child control of the given object name; throws when missing.
template <class Widget> Widget* Child(QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    if (!widget)
        throw std::runtime_error(std::string("no control ") + name);
    return widget;
}

// The texts of the dialog's labels, in the order they were created.
std::vector<std::string> LabelTexts(QWidget& dialog);

// The entries of a combo box, in order.
std::vector<std::string> ComboTexts(const QComboBox* combo);

// Replaces the text of `edit` by typing `text` over its selected contents.
void TypeInto(QLineEdit* edit, const QString& text);

// Clicks one of the dialog's standard buttons (OK, Cancel).
void Press(QDialog& dialog, QDialogButtonBox::StandardButton which);

// Runs `command`, which opens a modal dialog; once the dialog is up and
// active, `act` works it and must close it. A dialog left open is cancelled
// after ten seconds, so no test blocks.
void WithModalDialog(const std::function<void()>& command,
                     const std::function<void(QDialog&)>& act);

} // namespace halvera::testing
