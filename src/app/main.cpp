#include "app/CommandLine.h"
#include "app/IcsFiles.h"
#include "app/TalvoApplication.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    // "--help" and "--version" need no display and leave a running copy alone.
    if (const auto answer = CommandLine::TerminalAnswer({ argv + 1, argv + argc })) {
        std::fputs(answer->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    // An export reads the data folder and ends, with no window.
    if (const auto file = CommandLine::ExportIcsFile({ argv + 1, argv + argc })) {
        if (file->empty()) {
            std::fputs(
                "Talvo95: --export-ics needs a file name (\"-\" for standard output)\n", stderr);
            return 2;
        }
        return ExportIcsCommand(argc, argv, QString::fromLocal8Bit(file->c_str()));
    }
    int status = 0;
    {
        TGuardedApplication application(argc, argv);
        status = TTalvoApplication::Run(application);
    }
    // Everything is saved, written and closed by now, the window and the
    // application gone. What is left are the libraries' own clean-ups at exit,
    // which nothing needs and which would only delay the end.
    std::fflush(nullptr);
    std::_Exit(status);
}
