#pragma once

#include "settings/ColourFontPickers.h"

#include <deque>
#include <optional>

// Answers the colour and font dialogs from queues; an empty queue cancels.
// Remembers what each dialog was preset to.
class TFakePickers final : public IColourFontPickers
{
public:
    std::deque<TColour> Colours;
    std::deque<TSettingsFont> Fonts;
    std::optional<TColour> PresetColour;
    std::optional<TSettingsFont> PresetFont;

    bool PickColour(QWidget*, TColour& colour) override
    {
        PresetColour = colour;
        if (Colours.empty())
            return false;
        colour = Colours.front();
        Colours.pop_front();
        return true;
    }
    bool PickFont(QWidget*, TSettingsFont& font) override
    {
        PresetFont = font;
        if (Fonts.empty())
            return false;
        font = Fonts.front();
        Fonts.pop_front();
        return true;
    }
};
