#pragma once

#include "settings/Settings.h"

class QWidget;

// The colour and font dialogs of the properties window, behind one seam so a
// test answers them in advance instead of hanging on a modal box.
class IColourFontPickers
{
public:
    virtual ~IColourFontPickers() = default;
    // Opens preset to `colour`; true, with `colour` the direct colour chosen,
    // when the user confirmed.
    virtual bool PickColour(QWidget* parent, TColour& colour) = 0;
    // Opens preset to `font` (face, style, size 8 to 24 points); true, with
    // `font` the choice, when the user confirmed.
    virtual bool PickFont(QWidget* parent, TSettingsFont& font) = 0;
};

// The desktop's colour dialog and our own font picker.
class TDesktopPickers final : public IColourFontPickers
{
public:
    bool PickColour(QWidget* parent, TColour& colour) override;
    bool PickFont(QWidget* parent, TSettingsFont& font) override;
};
