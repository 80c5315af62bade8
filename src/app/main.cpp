#include "app/CommandLine.h"
#include "app/TalvoApplication.h"
#include "platform/BusWarmUp.h"
#include "platform/FontWarmUp.h"
#include "platform/StartHeap.h"

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
    TStartHeap heap;
    int status = 0;
    {
        // Before the application: the fonts are read while it connects to the
        // display, and the session bus is connected while the window is built.
        TFontWarmUp fonts;
        TBusWarmUp bus;
        TGuardedApplication application(argc, argv);
        status = TTalvoApplication::Run(application, [&heap] { heap.Settle(); });
        // The connection is made while the application lives, even when a
        // running copy was asked to show itself and this one ends at once.
        bus.Wait();
    }
    // Everything is saved, written and closed by now, the window and the
    // application gone. What is left are the libraries' own clean-ups at exit,
    // which nothing needs and which would only delay the end.
    std::fflush(nullptr);
    std::_Exit(status);
}
