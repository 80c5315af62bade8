#include "app/CommandLine.h"
#include "app/TalvoApplication.h"
#include "platform/FontWarmUp.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // "--help" and "--version" need no display and leave a running copy alone.
    if (const auto answer = CommandLine::TerminalAnswer({ argv + 1, argv + argc })) {
        std::fputs(answer->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    // Before the application: the fonts are read while it connects to the display.
    TFontWarmUp fonts;
    TGuardedApplication application(argc, argv);
    return TTalvoApplication::Run(application);
}
