#pragma once

#include "settings/Settings.h"

#include <QDialog>

class QComboBox;
class QFontComboBox;
class QLabel;
class QSpinBox;

// The font dialog of the properties window: a face, a style (regular, bold,
// italic or both) and a size from 8 to 24 points, with a sample; no colour,
// underline or strike-out. Only faces that hold the Western European letters
// the files are written in are offered.
class TFontPicker final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int MinSize = 8;
    static constexpr int MaxSize = 24;

    explicit TFontPicker(QWidget* parent = nullptr);

    // A size outside 8 to 24 is brought to the nearer end.
    void SetChosen(const TSettingsFont& font);
    // The face, size and style shown; underline and strike-out as they were set.
    TSettingsFont Chosen() const;

private:
    void ShowSample();

    QFontComboBox* FontFace;
    QComboBox* FontStyle;
    QSpinBox* FontSize;
    QLabel* FontSample;
    int32_t KeptStyle = 0;
};
