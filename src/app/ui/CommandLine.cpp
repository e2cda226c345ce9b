#include "app/ui/CommandLine.h"

#include <QCommandLineParser>
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

std::vector<std::string> FilesToOpen(const QCommandLineParser& parser, const QString& directory) {
    std::vector<std::string> files;
    const QDir base(directory);
    for (const QString& name : parser.positionalArguments())
        files.push_back(QDir::cleanPath(base.absoluteFilePath(name)).toStdString());
    return files;
}

} // namespace halvera
