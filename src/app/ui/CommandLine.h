#pragma once

#include <QString>
#include <string>
#include <vector>

class QCommandLineParser;

namespace halvera {

// The desktop program's command line, after QApplication has taken Qt's own
// options (-platform and the like): --help, --version and the picture files
// to open, "halvera FILE...".
void DescribeCommandLine(QCommandLineParser& parser);

// Answers --help and --version before the program reaches for a display, so
// both work on a terminal without one: prints the text and ends the program
// with status 0 when either is asked for, and returns otherwise. Qt's own
// options on the same line are left for QApplication to take. The
// application's name and version are set before.
void AnswerHelpOrVersion(int& argc, char** argv);

// The files named on the parsed command line, in their order, each made
// absolute against `directory` (the directory the program was started in), so
// that the recent-file list and an already open image recognise them.
std::vector<std::string> FilesToOpen(const QCommandLineParser& parser, const QString& directory);

} // namespace halvera
