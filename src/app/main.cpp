#include "app/HalveraApp.h"
#include "app/MainFrame.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtUserPrompts.h"

#include <QApplication>
#include <QScreen>

// The desktop program. It opens no image at start: the command line is left
// to Qt's own options (-platform and the like).
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Halvera"));

    halvera::QtUserPrompts prompts;
    halvera::ScopedPrompts promptsInForce(prompts);
    halvera::CHalveraApp app(std::make_unique<halvera::QtSettingsStore>());
    halvera::CMainFrame& frame = app.InitInstance(true);
    // Without a window manager (a bare X server) maximizing is not honoured:
    // start with the whole available screen either way.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        frame.setGeometry(screen->availableGeometry());
    frame.showMaximized();
    return application.exec();
}
