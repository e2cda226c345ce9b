#include "HalveraVersion.h"
#include "app/AutosaveInterval.h"
#include "app/RecoveryFolder.h"
#include "app/ui/CommandLine.h"
#include "app/ui/HalveraApp.h"
#include "app/ui/MainFrame.h"
#include "app/ui/ShellPrompts.h"
#include "platform/ui/QtSettingsStore.h"
#include "view/CommandIds.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QScreen>
#include <QTimer>
#include <cstdlib>

// The desktop program: `halvera [FILE...]`. --help and --version are
// answered before any display is opened; QApplication takes Qt's own
// options (-platform and the like) next; the files left open as File, Open
// opens them, once the main window is up, after the offer of the images a
// program that did not end cleanly left in the recovery folder.
//
// Two environment variables are hooks for the test that kills the program
// and recovers its work, not settings: HALVERA_AUTOSAVE_SECONDS=N autosaves
// every N seconds instead of "Autosave minutes", and
// HALVERA_TEST_INVERT_OPENED=1 inverts the active image once the files on
// the command line are open, so that it holds unsaved work.
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
    app.StartAutosave(halvera::RecoveryFolderOfEnvironment(),
                      halvera::AutosaveInterval(app.settings().AutosaveMinutes,
                                                std::getenv("HALVERA_AUTOSAVE_SECONDS")));
    QTimer::singleShot(0, &frame, [&app, &frame, files] {
        app.OfferRecovery();
        app.OpenFiles(files);
        if (std::getenv("HALVERA_TEST_INVERT_OPENED"))
            frame.router().dispatch(halvera::kIdInvert);
    });
    return application.exec();
}
