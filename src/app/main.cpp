#include "app/TalvoApplication.h"

#include <QApplication>

int main(int argc, char** argv)
{
    TGuardedApplication application(argc, argv);
    return TTalvoApplication::Run(application);
}
