#pragma once

#include <QDialog>

namespace halvera {

// "About Halvera": the application icon, the line naming the platform the
// program runs on, and OK.
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kPlatformLine = "Halvera for Linux (Qt 6 and GStreamer)";

    explicit CAboutDialog(QWidget* parent = nullptr);
};

} // namespace halvera
