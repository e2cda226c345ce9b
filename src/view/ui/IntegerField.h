#pragma once

#include <optional>

class QLineEdit;

namespace halvera {

// The integer check of a dialog's edit field when the dialog reads its
// controls: a value that is not a whole number gets "Please enter an
// integer.", one outside min..max "Please enter an integer between MIN and
// MAX."; the edit then takes the focus with its text selected and nothing is
// returned.
std::optional<int> ReadIntegerField(QLineEdit* edit, int min, int max);

} // namespace halvera
