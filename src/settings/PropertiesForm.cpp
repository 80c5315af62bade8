#include "settings/PropertiesForm.h"

#include "controls/Contrast.h"
#include "controls/Dialogues.h"
#include "platform/SoundPlayer.h"
#include "settings/AlarmOptions.h"
#include "settings/ApplySettings.h"
#include "settings/ColourFontPickers.h"
#include "settings/SettingsConvert.h"
#include "settings/SettingsStore.h"
#include "settings/SyncOptions.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{

QButtonGroup* AddRadioGroup(QWidget* parent, QVBoxLayout* layout, const QString& name,
    const QString& caption, const QStringList& items, int columns)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(1);
    auto* group = new QButtonGroup(box);
    group->setObjectName(name + u"Buttons"_s);
    const int rows = (int(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        button->setObjectName(name + QString::number(i));
        group->addButton(button, i);
        grid->addWidget(button, i % rows, i / rows);
    }
    layout->addWidget(box);
    return group;
}

// -1 (or anything off the list) selects none.
void Select(QButtonGroup* group, int32_t index)
{
    if (QAbstractButton* button = group->button(index)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* each : group->buttons())
        each->setChecked(false);
    group->setExclusive(true);
}

QLabel* MakeSample(QWidget* parent, const QString& name, const QString& text)
{
    auto* sample = new QLabel(text, parent);
    sample->setObjectName(name);
    sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sample->setAutoFillBackground(true);
    sample->setIndent(2);
    return sample;
}

void PaintSample(QWidget* sample, const QColor& background, const QColor& ink)
{
    // The schedule's labels would take their roles from the panel's.
    sample->setBackgroundRole(QPalette::Window);
    sample->setForegroundRole(QPalette::WindowText);
    QPalette palette = sample->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, ink);
    sample->setPalette(palette);
}

QIcon FontGlyph()
{
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    QFont face(u"serif"_s);
    face.setPixelSize(15);
    face.setBold(true);
    painter.setFont(face);
    painter.setPen(QApplication::palette().color(QPalette::ButtonText));
    painter.drawText(glyph.rect(), Qt::AlignCenter, u"A"_s);
    return QIcon(glyph);
}

} // namespace

TPropertiesForm::TPropertiesForm(TSettings& settings, TSettingsStore& store, ISoundPlayer& sound,
    IDialogues& dialogues, IColourFontPickers& pickers, std::function<void()> applySettings,
    QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , Settings(settings)
    , Store(store)
    , Sound(sound)
    , Dialogues(dialogues)
    , Pickers(pickers)
    , Apply(std::move(applySettings))
{
    setObjectName(u"PropertiesForm"_s);
    setWindowTitle(u"Properties"_s);
    // The options scroll only on a screen too short for them; the buttons
    // below them always show.
    Content = new QWidget(this);
    Content->setObjectName(u"PropertiesContent"_s);
    // The sync's group stands beside the others, so the window grows wider
    // rather than taller.
    auto* columns = new QHBoxLayout(Content);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(6);
    auto* layout = new QVBoxLayout;
    layout->setSpacing(4);
    columns->addLayout(layout);
    auto* right = new QVBoxLayout;
    right->addWidget(SyncOptions = new TSyncOptions(Settings, this));
    right->addStretch(1);
    columns->addLayout(right, 1);
    rgModemPort = AddRadioGroup(this, layout, u"rgModemPort"_s, u"Modem Port"_s,
        { u"TAPI"_s, u"COM1:"_s, u"COM2:"_s, u"COM3:"_s, u"COM4:"_s }, 3);
    QStringList sounds;
    for (std::string_view name : AlarmSoundNames())
        sounds << QString::fromLatin1(name);
    rgAlarmSound = AddRadioGroup(this, layout, u"rgAlarmSound"_s, u"Alarm Sound"_s, sounds, 2);
    layout->addWidget(BuildOptions());
    layout->addWidget(AlarmOptions = new TAlarmOptions(Settings, this));
    layout->addWidget(BuildColours());
    Scroller = new QScrollArea(this);
    Scroller->setObjectName(u"PropertiesScroller"_s);
    Scroller->setFrameShape(QFrame::NoFrame);
    Scroller->setWidgetResizable(true);
    Scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Scroller->setWidget(Content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(4);
    outer->addWidget(Scroller, 1);

    auto* buttons = new QHBoxLayout;
    auto addButton = [this, buttons](const QString& name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        buttons->addWidget(button);
        return button;
    };
    QPushButton* bOK = addButton(u"bOK"_s, u"OK"_s);
    QPushButton* bCancel = addButton(u"bCancel"_s, u"Cancel"_s);
    QPushButton* bApply = addButton(u"bApply"_s, u"Apply"_s);
    bOK->setDefault(true);
    outer->addLayout(buttons);

    connect(rgModemPort, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on && !Showing)
            Settings.ModemPort = id;
    });
    connect(rgAlarmSound, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!on || Showing)
            return;
        Settings.AlarmSound = id;
        rgAlarmSoundClick();
    });
    connect(cbOnTop, &QCheckBox::toggled, this, [this](bool on) {
        if (!Showing)
            Settings.OnTop = on;
    });
    connect(cbHints, &QCheckBox::toggled, this, [this](bool on) {
        if (!Showing)
            Settings.ShowHints = on;
    });
    connect(cbDate, &QCheckBox::toggled, this, [this](bool on) {
        if (!Showing)
            Settings.DateTray = on;
    });
    connect(bOK, &QPushButton::clicked, this, &TPropertiesForm::bOKClick);
    connect(bCancel, &QPushButton::clicked, this, &TPropertiesForm::bCancelClick);
    connect(bApply, &QPushButton::clicked, this, &TPropertiesForm::bApplyClick);

    ShowSettings();
    ShowSettingSamples();
    FitToScreen();
}

void TPropertiesForm::FitToScreen()
{
    // As large as its texts need in the font of the day, never below the
    // designed size, and no taller than the screen; nothing is gained by
    // resizing it.
    const QSize content = Content->sizeHint();
    const QMargins margins = layout()->contentsMargins();
    const int below = layout()->spacing() + findChild<QWidget*>(u"bOK"_s)->sizeHint().height();
    // The row of buttons below the options may be the wider.
    int rows = content.width();
    for (int i = 0; i < layout()->count(); ++i)
        if (const QLayout* row = layout()->itemAt(i)->layout())
            rows = std::max(rows, row->sizeHint().width());
    QSize wanted(rows + margins.left() + margins.right(),
        content.height() + below + margins.top() + margins.bottom());
    wanted = wanted.expandedTo(DesignedSize);
    if (const QScreen* shown = screen()) {
        // Room for the title bar and frame the desktop adds.
        const int room = shown->availableGeometry().height() - TitleAllowance;
        if (wanted.height() > room) {
            wanted.setHeight(std::max(room, DesignedSize.height() / 2));
            wanted.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        }
    }
    setFixedSize(wanted);
}

QWidget* TPropertiesForm::BuildOptions()
{
    auto* options = new QWidget(this);
    options->setObjectName(u"OptionsPanel"_s);
    auto* row = new QHBoxLayout(options);
    row->setContentsMargins(0, 0, 0, 0);
    auto* bFont = new QPushButton(FontGlyph(), u"Font"_s, options);
    bFont->setObjectName(u"bFont"_s);
    connect(bFont, &QPushButton::clicked, this, &TPropertiesForm::bFontClick);
    row->addWidget(bFont, 0, Qt::AlignTop);
    auto* checks = new QVBoxLayout;
    checks->setSpacing(1);
    auto addCheck = [options, checks](const QString& name, const QString& caption) {
        auto* check = new QCheckBox(caption, options);
        check->setObjectName(name);
        checks->addWidget(check);
        return check;
    };
    cbOnTop = addCheck(u"cbOnTop"_s, u"On Top"_s);
    cbHints = addCheck(u"cbHints"_s, u"Hints"_s);
    cbDate = addCheck(u"cbDate"_s, u"Date in tray icon"_s);
    row->addLayout(checks, 1);
    return options;
}

QWidget* TPropertiesForm::BuildColours()
{
    auto* box = new QGroupBox(u"Colours"_s, this);
    box->setObjectName(u"ColoursBox"_s);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 6);
    grid->setSpacing(3);
    grid->setColumnStretch(0, 1);
    auto addButton = [this, box, grid](const QString& name, const QString& caption, int row,
                         TColour TSettings::*field) {
        auto* button = new QPushButton(caption, box);
        button->setObjectName(name);
        grid->addWidget(button, row, 1);
        connect(
            button, &QPushButton::clicked, this, [this, field] { PickColour(Settings.*field); });
    };
    CalSamplePanel = MakeSample(box, u"CalSamplePanel"_s, u"4  5  6  7  8  9  10"_s);
    TreeSamplePanel = MakeSample(box, u"TreeSamplePanel"_s, u"---My Notes"_s);
    CalcSamplePanel = MakeSample(box, u"CalcSamplePanel"_s, u"3.14159265358979"_s);
    grid->addWidget(CalSamplePanel, 0, 0);
    addButton(u"bCalendar"_s, u"Calendar"_s, 0, &TSettings::ColourCalendar);
    grid->addWidget(TreeSamplePanel, 1, 0);
    addButton(u"bTree"_s, u"Notes Tree"_s, 1, &TSettings::ColourTree);
    grid->addWidget(CalcSamplePanel, 2, 0);
    addButton(u"bCalculator"_s, u"Calculator"_s, 2, &TSettings::ColourCalculator);

    auto* panel = new QFrame(box);
    panel->setObjectName(u"SchedSamplePanel"_s);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setBackgroundRole(QPalette::Base);
    panel->setAutoFillBackground(true);
    auto* labels = new QVBoxLayout(panel);
    labels->setContentsMargins(3, 2, 3, 2);
    labels->setSpacing(0);
    auto addLabel = [panel, labels](const QString& name, const QString& text) {
        auto* label = new QLabel(text, panel);
        label->setObjectName(name);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        labels->addWidget(label);
        return label;
    };
    OverdueLabel = addLabel(u"OverdueLabel"_s, u"Overdue Event"_s);
    OverdueTodayLabel = addLabel(u"OverdueTodayLabel"_s, u"Overdue Today"_s);
    ComingTodayLabel = addLabel(u"ComingTodayLabel"_s, u"Coming up Today"_s);
    ComingLabel = addLabel(u"ComingLabel"_s, u"Coming up"_s);
    OverdueTodayLabel->setAutoFillBackground(true);
    ComingTodayLabel->setAutoFillBackground(true);
    SchedSamplePanel = panel;
    grid->addWidget(panel, 3, 0, 3, 1);
    addButton(u"bOverdue"_s, u"Overdue"_s, 3, &TSettings::ColourOverdue);
    addButton(u"bToday"_s, u"Today"_s, 4, &TSettings::ColourToday);
    addButton(u"bComing"_s, u"Coming"_s, 5, &TSettings::ColourComingUp);
    return box;
}

void TPropertiesForm::ShowSettings()
{
    Showing = true;
    Select(rgModemPort, Settings.ModemPort);
    Select(rgAlarmSound, Settings.AlarmSound);
    cbOnTop->setChecked(Settings.OnTop);
    cbHints->setChecked(Settings.ShowHints);
    cbDate->setChecked(Settings.DateTray);
    AlarmOptions->ShowSettings();
    SyncOptions->ShowSettings();
    Showing = false;
}

void TPropertiesForm::ShowSettingSamples()
{
    if (!CalSamplePanel)
        return;
    const QPalette desktop = QApplication::palette(this);
    const QColor text = desktop.color(QPalette::Text);
    const QColor calendar = ColourToQColor(Settings.ColourCalendar, desktop);
    const QColor tree = ColourToQColor(Settings.ColourTree, desktop);
    PaintSample(CalSamplePanel, calendar, ReadableInk(calendar, text));
    PaintSample(TreeSamplePanel, tree, ReadableInk(tree, text));
    PaintSample(CalcSamplePanel, ColourToQColor(Settings.ColourCalculator, desktop), text);
    const QColor overdue = ColourToQColor(Settings.ColourOverdue, desktop);
    const QColor today = ColourToQColor(Settings.ColourToday, desktop);
    const QColor coming = ColourToQColor(Settings.ColourComingUp, desktop);
    const QColor window = desktop.color(QPalette::Base);
    // As the schedule shows them.
    PaintSample(OverdueLabel, window, ShadeToRead(window, overdue));
    PaintSample(OverdueTodayLabel, today, ShadeToRead(today, overdue));
    PaintSample(ComingTodayLabel, today, ShadeToRead(today, coming));
    PaintSample(ComingLabel, window, ShadeToRead(window, coming));
}

void TPropertiesForm::PickColour(TColour& field)
{
    TColour colour = field;
    if (!Pickers.PickColour(this, colour))
        return;
    field = colour;
    ShowSettingSamples();
}

void TPropertiesForm::bFontClick()
{
    TSettingsFont font = Settings.SettingsFont;
    if (Pickers.PickFont(this, font))
        Settings.SettingsFont = font;
}

void TPropertiesForm::rgAlarmSoundClick()
{
    if (isVisible())
        PlayAlarmSound(Sound, Settings);
}

void TPropertiesForm::SetSyncControl(ISyncControl* control)
{
    SyncOptions->SetControl(control);
}

void TPropertiesForm::bApplyClick()
{
    SyncOptions->Commit();
    if (Apply)
        Apply();
}

void TPropertiesForm::bOKClick()
{
    bool saved = false;
    RunGuarded(Dialogues, [this, &saved] {
        SaveSettings(Store, Settings);
        saved = true;
    });
    if (!saved)
        return;
    hide();
    bApplyClick();
}

void TPropertiesForm::bCancelClick()
{
    LoadSettings(Store, Settings);
    hide();
    ShowSettings();
    ShowSettingSamples();
    bApplyClick();
}

void TPropertiesForm::showEvent(QShowEvent* event)
{
    ShowSettings();
    ShowSettingSamples();
    if (!Placed) {
        FitToScreen();
        Place();
    }
    QWidget::showEvent(event);
}

void TPropertiesForm::Place()
{
    Placed = true;
    QPoint place = DesignedPlace;
    if (const QScreen* screen = QApplication::primaryScreen()) {
        // Near the designed place, but whole on a small or magnified screen.
        const QRect area = screen->availableGeometry();
        const QSize frame = frameGeometry().size().expandedTo(size());
        place.setX(std::max(area.left(), std::min(place.x(), area.right() + 1 - frame.width())));
        place.setY(std::max(area.top(), std::min(place.y(), area.bottom() + 1 - frame.height())));
    }
    move(place);
}

void TPropertiesForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        ShowSettingSamples();
    QWidget::changeEvent(event);
}

void TPropertiesForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        bCancelClick();
        return;
    }
    QWidget::keyPressEvent(event);
}
