#include "settings/FontPicker.h"

#include "platform/AnsiText.h"
#include "settings/SettingsConvert.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

TFontPicker::TFontPicker(QWidget* parent)
    : QDialog(parent)
    , FontFace(new QFontComboBox(this))
    , FontStyle(new QComboBox(this))
    , FontSize(new QSpinBox(this))
    , FontSample(new QLabel(u"AaBbYyZz 0123"_s, this))
{
    setObjectName(u"FontDialog"_s);
    setWindowTitle(u"Font"_s);
    FontFace->setObjectName(u"FontFace"_s);
    FontFace->setWritingSystem(QFontDatabase::Latin);
    FontFace->setEditable(false);
    FontStyle->setObjectName(u"FontStyle"_s);
    // The index is the style's bits.
    FontStyle->addItems({ u"Regular"_s, u"Bold"_s, u"Italic"_s, u"Bold Italic"_s });
    FontSize->setObjectName(u"FontSize"_s);
    FontSize->setRange(MinSize, MaxSize);
    FontSize->setSuffix(u" pt"_s);
    FontSample->setObjectName(u"FontSample"_s);
    FontSample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FontSample->setAlignment(Qt::AlignCenter);
    FontSample->setMinimumHeight(48);

    auto* fields = new QFormLayout;
    fields->addRow(u"&Font:"_s, FontFace);
    fields->addRow(u"Font st&yle:"_s, FontStyle);
    fields->addRow(u"&Size:"_s, FontSize);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(FontSample);
    layout->addWidget(buttons);

    connect(FontFace, &QFontComboBox::currentFontChanged, this, &TFontPicker::ShowSample);
    connect(FontStyle, &QComboBox::currentIndexChanged, this, &TFontPicker::ShowSample);
    connect(FontSize, &QSpinBox::valueChanged, this, &TFontPicker::ShowSample);
    SetChosen(TSettingsFont {});
}

void TFontPicker::SetChosen(const TSettingsFont& font)
{
    KeptStyle = font.Style & (fsUnderline | fsStrikeOut);
    FontFace->setCurrentFont(SettingsFontToQFont(font));
    FontStyle->setCurrentIndex(font.Style & (fsBold | fsItalic));
    FontSize->setValue(std::clamp(int(font.Size), MinSize, MaxSize));
    ShowSample();
}

TSettingsFont TFontPicker::Chosen() const
{
    TSettingsFont font;
    font.Name = ToCore(FontFace->currentFont().family());
    CutFontName(font.Name);
    if (font.Name.empty())
        font.Name = DefaultFontName;
    font.Size = std::clamp(FontSize->value(), MinSize, MaxSize);
    font.Style = std::max(FontStyle->currentIndex(), 0) | KeptStyle;
    return font;
}

void TFontPicker::ShowSample()
{
    TSettingsFont shown = Chosen();
    shown.Style &= fsBold | fsItalic;
    FontSample->setFont(SettingsFontToQFont(shown));
}
