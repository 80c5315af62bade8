#pragma once

#include "base/DateTime.h"

// The desktop's local date and time.
class TSystemClock final : public IClock
{
public:
    TDateTime Now() const override;
};
