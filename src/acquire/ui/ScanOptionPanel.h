#pragma once

#include "acquire/ScanOption.h"

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QFormLayout;

namespace halvera {

// The controls of a scan window, built from the device's option descriptors:
// a check box for a switch, a list for a choice of numbers or texts, a spin
// box for a number in a range, a text field for free text, a button for a
// button, under the device's group titles. Every option that can be set now
// is shown except the device's advanced ones; mode, resolution and the scan
// area are always shown when the device has them. Each editor is named after
// its option.
class CScanOptionPanel : public QWidget {
    Q_OBJECT
public:
    using ChangeHandler = std::function<void(const std::string& name, const ScanValue& value)>;

    explicit CScanOptionPanel(QWidget* parent = nullptr);

    // Builds the controls afresh for `options`.
    void showOptions(const std::vector<ScanOption>& options);
    // Called when the user changes an option (a spin box once its edit is done).
    void setOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }

    // The editor of option `name`, or null when it is not shown.
    QWidget* editor(const std::string& name) const;

private:
    QWidget* makeEditor(const ScanOption& option);
    QWidget* makeNumberList(const ScanOption& option);
    QWidget* makeSpinBox(const ScanOption& option);
    void changed(const std::string& name, const ScanValue& value);

    QWidget* content_ = nullptr;
    ChangeHandler onChange_;
};

} // namespace halvera
