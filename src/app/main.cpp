#include "app/TalvoApplication.h"
#include "platform/FontWarmUp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Before the application: the fonts are read while it connects to the display.
    TFontWarmUp fonts;
    TGuardedApplication application(argc, argv);
    return TTalvoApplication::Run(application);
}
