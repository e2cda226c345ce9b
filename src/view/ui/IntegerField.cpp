#include "view/ui/IntegerField.h"

#include "platform/UserPrompts.h"

#include <QLineEdit>
#include <string>

namespace halvera {

namespace {

std::nullopt_t Refuse(QLineEdit* edit, const std::string& message) {
    ShowMessage(message, MessageIcon::Warning);
    edit->setFocus();
    edit->selectAll();
    return std::nullopt;
}

} // namespace

std::optional<int> ReadIntegerField(QLineEdit* edit, int min, int max) {
    bool ok = false;
    // QString::toInt ignores the user's locale, as a fixed-format field must.
    const int value = edit->text().trimmed().toInt(&ok);
    if (!ok)
        return Refuse(edit, "Please enter an integer.");
    if (value < min || value > max)
        return Refuse(edit, "Please enter an integer between " + std::to_string(min) + " and " +
                                std::to_string(max) + ".");
    return value;
}

} // namespace halvera
