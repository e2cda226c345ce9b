#include "app/ui/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

namespace halvera {

void DescribeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Halvera, a workstation for microscope images."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Picture files to open, as File, Open opens them."),
                                 QStringLiteral("[FILE...]"));
}

void AnswerHelpOrVersion(int& argc, char** argv) {
    // A core application needs no window system; the parser's help and
    // version texts are printed through it.
    QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    // Qt's own options (-platform offscreen, -reverse) are unknown here and
    // are read as whole words, so their letters are never taken for -h or -v;
    // whatever else the line holds, --help and --version are recognised.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
}

std::vector<std::string> FilesToOpen(const QCommandLineParser& parser, const QString& directory) {
    std::vector<std::string> files;
    const QDir base(directory);
    for (const QString& name : parser.positionalArguments())
        files.push_back(QDir::cleanPath(base.absoluteFilePath(name)).toStdString());
    return files;
}

} // namespace halvera
