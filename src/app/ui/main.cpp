#include "HalveraVersion.h"
#include "app/ui/CommandLine.h"
#include "app/ui/HalveraApp.h"
#include "app/ui/MainFrame.h"
#include "app/ui/ShellPrompts.h"
#include "platform/ui/QtSettingsStore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QScreen>
#include <QTimer>

// The desktop program: `halvera [FILE...]`. --help and --version are
// answered before any display is opened; QApplication takes Qt's own
// options (-platform and the like) next; the files left open as File, Open
// opens them, once the main window is up.
int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("Halvera"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(halvera::kHalveraVersion));
    halvera::AnswerHelpOrVersion(argc, argv);
    QApplication application(argc, argv);

    QCommandLineParser commandLine;
    halvera::DescribeCommandLine(commandLine);
    commandLine.process(application);
    const std::vector<std::string> files = halvera::FilesToOpen(commandLine, QDir::currentPath());

    halvera::ShellPrompts prompts;
    halvera::ScopedPrompts promptsInForce(prompts);
    halvera::ScopedFileListPrompts fileListsInForce(prompts);
    halvera::CHalveraApp app(std::make_unique<halvera::QtSettingsStore>());
    halvera::CMainFrame& frame = app.InitInstance(true);
    // Without a window manager (a bare X server) maximizing is not honoured:
    // start with the whole available screen either way.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        frame.setGeometry(screen->availableGeometry());
    frame.showMaximized();
    QTimer::singleShot(0, &frame, [&app, files] { app.OpenFiles(files); });
    return application.exec();
}
