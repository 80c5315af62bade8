// An empty Qt Widgets window, started the same way as the program, to compare
// start-up time and memory against.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Empty Qt Window"));
    window.resize(560, 420);
    window.show();
    return application.exec();
}
