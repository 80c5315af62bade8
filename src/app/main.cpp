#include "app/CommandLine.h"
#include "app/TalvoApplication.h"
#include "platform/BusWarmUp.h"
#include "platform/FontWarmUp.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char** argv)
{
    // "--help" and "--version" need no display and leave a running copy alone.
    if (const auto answer = CommandLine::TerminalAnswer({ argv + 1, argv + argc })) {
        std::fputs(answer->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
#if defined(__GLIBC__)
    // The threads beside the GUI thread (the font warm-up, the display and bus
    // readers, Qt's painting pool) allocate little. Sharing the one heap keeps
    // each from holding an arena of its own, mostly freed pages, all session.
    mallopt(M_ARENA_MAX, 1);
    // The heap grows, and gives memory back, 2 MB at a time rather than in the
    // default 128 KB steps: the start takes it to about 2 MB, and each step is a
    // system call and a page-table change seen by every processor. What is not
    // touched is never made resident.
    mallopt(M_TOP_PAD, 2 * 1024 * 1024);
#endif
    int status = 0;
    {
        // Before the application: the fonts are read while it connects to the
        // display, and the session bus is connected while the window is built.
        TFontWarmUp fonts;
        TBusWarmUp bus;
        TGuardedApplication application(argc, argv);
        status = TTalvoApplication::Run(application);
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
