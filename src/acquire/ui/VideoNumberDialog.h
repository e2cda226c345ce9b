#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <string_view>

class QLineEdit;

namespace halvera {

// The small dialogs that ask for one decimal number: "Capture time" (seconds),
// "Capture rate" (frames per second) and "Play rate " (times). Each change of
// the text is read through the dialog's rule; OK keeps the last value read.
class CVideoNumberDialog : public QDialog {
    Q_OBJECT
public:
    using Rule = std::function<double(std::string_view)>;

    struct Layout {
        const char* title;
        const char* label;
        const char* unit;
        const char* editName; // the edit's object name
    };
    static const Layout kCaptureTime;
    static const Layout kCaptureRate;
    static const Layout kPlayRate;

    CVideoNumberDialog(const Layout& layout, const std::string& shown, Rule rule,
                       QWidget* parent = nullptr);

    QLineEdit* edit() const { return edit_; }
    // The value read from the text; the shown value's reading until it changes.
    double value() const { return value_; }

private:
    QLineEdit* edit_;
    Rule rule_;
    double value_;
};

} // namespace halvera
