#include "platform/FontWarmUp.h"

#ifdef TALVO_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

TFontWarmUp::TFontWarmUp()
{
#ifdef TALVO_HAVE_FONTCONFIG
    Thread = std::thread([] { FcInit(); });
#endif
}

TFontWarmUp::~TFontWarmUp()
{
    if (Thread.joinable())
        Thread.join();
}
