#pragma once

class QApplication;

// The program's entry: one copy per user, the desktop's adapters, the main
// window, and an orderly end however the program is asked to stop.
class TTalvoApplication {
public:
    static int Run(QApplication& application);
};
