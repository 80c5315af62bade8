#include "app/TalvoApplication.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    return TTalvoApplication::Run(application);
}
