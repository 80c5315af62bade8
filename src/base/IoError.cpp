#include "base/IoError.h"

bool TIoError::IoFailed()
{
    if (Pending) {
        Pending = false;
        Sticky = true;
    }
    return Sticky;
}

void TIoError::ResetIoError()
{
    if (IoFailed())
        Sticky = false;
}
