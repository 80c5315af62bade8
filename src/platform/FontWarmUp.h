#pragma once

#include <thread>

// Reads the system's font configuration on a second thread while the program
// connects to the display and builds its window, so the first text measured
// on the GUI thread finds it ready instead of parsing it there. Reading it
// twice at once is safe, merely wasted. Where fontconfig is not used it does
// nothing. The destructor waits for the thread.
class TFontWarmUp
{
public:
    TFontWarmUp();
    TFontWarmUp(const TFontWarmUp&) = delete;
    TFontWarmUp& operator=(const TFontWarmUp&) = delete;
    ~TFontWarmUp();

private:
    std::thread Thread;
};
