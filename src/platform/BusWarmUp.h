#pragma once

#include <thread>

// Connects to the desktop session's message bus on a second thread while the
// window is built. Qt's accessibility bridge connects to it on the GUI thread
// as soon as the first widget names itself for screen readers (the tab bar
// does while it is made), and waits there for the whole handshake; connected
// ahead, the bridge finds the connection ready.
//
// Made before the application: the thread starts as the application's core
// is set up, since a bus connection needs it. Wait() before the application
// goes; where Qt reaches no bus it does nothing.
class TBusWarmUp
{
public:
    TBusWarmUp();
    TBusWarmUp(const TBusWarmUp&) = delete;
    TBusWarmUp& operator=(const TBusWarmUp&) = delete;
    ~TBusWarmUp();

    // Until the connection is made, if it was started.
    void Wait();

private:
    void Start();

    std::thread Thread;
};
