#pragma once

#include "ical/IcalLibrary.h"

#include <string_view>
#include <vector>

// The file's top components, read line by line; an unfinished one at the end
// (a truncated file) is closed and kept, so what it holds can still be read.
// `strayEnds` counts the END lines left out as nothing they could end was open.
std::vector<TIcalComponent> ParseComponents(std::string_view text, bool& truncated, int& strayEnds);

// The lines libical could not read, in the component and all it holds. An
// empty value is no loss: web calendars write empty DESCRIPTIONs.
int CountErrors(icalcomponent* component);
