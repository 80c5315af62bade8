#include "settings/ColourFontPickers.h"

#include "settings/FontPicker.h"
#include "settings/SettingsConvert.h"

#include <QColorDialog>

using namespace Qt::StringLiterals;

bool TDesktopPickers::PickColour(QWidget* parent, TColour& colour)
{
    const QColor chosen = QColorDialog::getColor(ColourToQColor(colour), parent, u"Colour"_s);
    if (!chosen.isValid())
        return false;
    colour = QColorToColour(chosen);
    return true;
}

bool TDesktopPickers::PickFont(QWidget* parent, TSettingsFont& font)
{
    TFontPicker picker(parent);
    picker.SetChosen(font);
    if (picker.exec() != QDialog::Accepted)
        return false;
    font = picker.Chosen();
    return true;
}
