// An empty Qt Widgets window, started the same way as the program, to compare
// start-up time and memory against; with "--text", a line of text in it, whose
// first drawing loads the fonts as any window with text does.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Empty Qt Window"));
    window.resize(560, 420);
    if (application.arguments().contains(QStringLiteral("--text")))
        window.setCentralWidget(new QLabel(QStringLiteral("A line of text")));
    window.show();
    return application.exec();
}
