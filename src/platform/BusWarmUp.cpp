#include "platform/BusWarmUp.h"

#ifdef TALVO_HAVE_QTDBUS
#include <QCoreApplication>
#include <QDBusConnection>
#include <utility>

namespace
{

// The warm-up waiting for the application's core, which starts it once its
// own set-up is done.
TBusWarmUp* Waiting = nullptr;

} // namespace
#endif

TBusWarmUp::TBusWarmUp()
{
#ifdef TALVO_HAVE_QTDBUS
    Waiting = this;
    qAddPreRoutine([] {
        if (TBusWarmUp* warmUp = std::exchange(Waiting, nullptr))
            warmUp->Start();
    });
#endif
}

TBusWarmUp::~TBusWarmUp()
{
#ifdef TALVO_HAVE_QTDBUS
    if (Waiting == this)
        Waiting = nullptr;
#endif
    Wait();
}

void TBusWarmUp::Start()
{
#ifdef TALVO_HAVE_QTDBUS
    // The connection stays with Qt's bus manager for the whole session.
    Thread = std::thread([] { QDBusConnection::sessionBus(); });
#endif
}

void TBusWarmUp::Wait()
{
    if (Thread.joinable())
        Thread.join();
}
