#include "calc/CalculatorPage.h"

#include "base/Utf8Text.h"
#include "calc/CalcStackModel.h"
#include "calc/CalculatorGrid.h"
#include "controls/Contrast.h"
#include "controls/Dialogues.h"
#include "platform/AnsiText.h"
#include "platform/Clipboard.h"

#include <QEvent>
#include <QGridLayout>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace
{

constexpr int HelpTopic = 6;
constexpr char16_t CtrlV = 22;
constexpr uint8_t CtrlC = 3;
const char* const TagProperty = "Tag";
const char* const KindProperty = "KeyKind";

// Columns of the page's grid: the stack grid, a gap, then the keypad's two
// blocks with a gap between them. Rows 2 and 5 are gaps between the keypad's
// groups; the Enter row is the last, level with the toggles under the grid.
constexpr int GridGap = 1;
constexpr int FirstKeyColumn = 2;
constexpr int BlockGap = FirstKeyColumn + 3;
constexpr int LastColumn = BlockGap + 4;
constexpr int FirstRowGap = 2;
constexpr int SecondRowGap = 5;
constexpr int EnterRow = 9;
constexpr int MinKeyWidth = 30;
constexpr int MinKeyHeight = 28;

QString Text(const char16_t* text)
{
    return text ? QString::fromUtf16(text) : QString();
}

// The calculator's key codes are Windows-1252 bytes ("µ" is 0xB5): those of
// the text up to its first character that has none.
std::string KeyCodes(const QString& text)
{
    const std::string utf8 = ToCore(text);
    std::string codes;
    for (size_t pos = 0; pos < utf8.size();) {
        const size_t start = pos;
        NextCharacter(utf8, pos);
        const std::string_view character(utf8.data() + start, pos - start);
        if (!FitsAnsi(character))
            break;
        AppendUtf8AsAnsi(codes, character);
    }
    return codes;
}

} // namespace

class TCalculatorPage::TLink final : public ICalcHost
{
public:
    explicit TLink(TCalculatorPage& page)
        : Page(page)
    {
    }
    void PutOnClipboard(const std::string& text) override { Page.PutOnClipboard(text); }
    int SelectedRow() const override { return Page.CurrentRow(); }
    void Repainted() override { Page.Repainted(); }

private:
    TCalculatorPage& Page;
};

TCalculatorPage::TCalculatorPage(
    TCalculator& calc, IDialogues& dialogues, IClipboard& clipboard, QWidget* parent)
    : QWidget(parent)
    , Calc(calc)
    , Dialogues(dialogues)
    , Clipboard(clipboard)
    , Model(new TCalcStackModel(calc, this))
    , Grid(new TCalculatorGrid(*Model, this))
    , pmCalculator(new QMenu(this))
{
    setObjectName(u"CalculatorPage"_s);

    // The stack grid stands beside the keypad's upper rows, the toggles under
    // it beside the Enter row, so both blocks share their top and bottom edges.
    Keys = new QGridLayout;
    Keys->setSpacing(3);
    Modes = new QHBoxLayout;
    Modes->setSpacing(3);
    BuildKeypad(Keys, Modes);
    Keys->addWidget(Grid, 0, 0, EnterRow, 1, Qt::AlignTop | Qt::AlignLeft);
    Keys->addLayout(Modes, EnterRow, 0);
    Keys->setColumnMinimumWidth(GridGap, 5);
    Keys->setColumnMinimumWidth(BlockGap, 5);
    // A larger page leaves the calculator as it is and the room to the right.
    Keys->setColumnStretch(LastColumn + 1, 1);
    FitButtons();
    ColourKeys();

    // Below the calculator's own size (the window's smallest) the keys keep
    // their size and the page scrolls, so nothing overlaps or is cut.
    auto* content = new QWidget;
    content->setObjectName(u"CalculatorKeys"_s);
    auto* inner = new QVBoxLayout(content);
    inner->setContentsMargins(4, 4, 4, 4);
    inner->addLayout(Keys);
    inner->addStretch(1);
    Scroller = new QScrollArea(this);
    Scroller->setObjectName(u"CalculatorScroller"_s);
    Scroller->setFrameShape(QFrame::NoFrame);
    Scroller->setFocusPolicy(Qt::NoFocus);
    Scroller->setWidgetResizable(true);
    Scroller->setWidget(content);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(Scroller);

    pmCalculator->setObjectName(u"pmCalculator"_s);
    QAction* recall = pmCalculator->addAction(u"Recall"_s);
    recall->setObjectName(u"CalcMenuRecall"_s);
    pmCalculator->setDefaultAction(recall);
    pmCalculator->addSeparator()->setObjectName(u"N1"_s);
    QAction* copy = pmCalculator->addAction(u"Copy X"_s);
    copy->setObjectName(u"CalcMenuCopy"_s);
    QAction* paste = pmCalculator->addAction(u"Paste X"_s);
    paste->setObjectName(u"CalcMenuPaste"_s);
    // The page takes Ctrl+C and Ctrl+V as typed characters; the menu shows them.
    for (QAction* item : { copy, paste })
        item->setShortcutContext(Qt::WidgetShortcut);
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(recall, &QAction::triggered, this, &TCalculatorPage::CalculatorGridDblClick);
    connect(copy, &QAction::triggered, this, &TCalculatorPage::CalcMenuCopyClick);
    connect(paste, &QAction::triggered, this, &TCalculatorPage::PasteX);

    connect(Grid, &TCalculatorGrid::DoubleClicked, this, &TCalculatorPage::CalculatorGridDblClick);
    connect(Grid, &TCalculatorGrid::MouseDown, this, &TCalculatorPage::CalculatorGridMouseDown);
    connect(Grid, &TCalculatorGrid::MenuKeyPressed, pmCalculator,
        [this](const QPoint& at) { pmCalculator->popup(at); });
    connect(Grid, &TCalculatorGrid::RowMoved, this, &TCalculatorPage::CalculatorGridRowMoved);
    setFocusProxy(Grid);
    Grid->setAccessibleName(u"Stack"_s);

    Link = std::make_shared<TLink>(*this);
    Calc.SetHost(Link);
    Calc.Repaint();
}

QPushButton* TCalculatorPage::NewButton(
    const char* name, const QString& caption, const QString& hint, TKeyKind kind)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    // Focus stays on the grid, so Space and Enter are keys of the calculator
    // and never press a focused button a second time.
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setMinimumWidth(MinKeyWidth);
    button->setProperty(KindProperty, static_cast<int>(kind));
    if (kind != TKeyKind::Plain) {
        QFont bolder = button->font();
        bolder.setBold(true);
        button->setFont(bolder);
    }
    return button;
}

void TCalculatorPage::ColourKeys()
{
    // Digits a shade off the plain keys, operators and Enter tinted towards
    // the desktop's highlight, as on a desk calculator. The tint gives way
    // before the caption does: every caption stands out at least 4.5:1 from
    // its key, on a light desktop and on a dark one.
    const QPalette desktop = palette();
    const QColor plain = desktop.color(QPalette::Button);
    const QColor ink = desktop.color(QPalette::ButtonText);
    const QColor accent = desktop.color(QPalette::Highlight);
    for (QPushButton* button : findChildren<QPushButton*>()) {
        const auto kind = static_cast<TKeyKind>(button->property(KindProperty).toInt());
        if (kind == TKeyKind::Plain)
            continue;
        double tint = kind == TKeyKind::Operator ? 0.2 : kind == TKeyKind::Enter ? 0.4 : 0.0;
        const QColor digit = plain.lightness() > 128 ? plain.lighter(106) : plain.lighter(115);
        QColor key = kind == TKeyKind::Digit ? digit : MixColours(plain, accent, tint);
        while (tint > 0 && ContrastRatio(key, ink) < BodyTextRatio) {
            tint = std::max(0.0, tint - 0.05);
            key = MixColours(plain, accent, tint);
        }
        const QColor caption = ReadableInk(key, ink, BodyTextRatio);
        QPalette colours = desktop;
        colours.setColor(QPalette::Button, key);
        // A key that cannot be pressed keeps the desktop's faded caption.
        colours.setColor(QPalette::Active, QPalette::ButtonText, caption);
        colours.setColor(QPalette::Inactive, QPalette::ButtonText, caption);
        button->setPalette(colours);
    }
}

void TCalculatorPage::FitButtons()
{
    const int height = std::max(MinKeyHeight, fontMetrics().height() + 12);
    const auto spanOf = [this](QPushButton* button) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        const int index = Keys->indexOf(button);
        if (index >= 0)
            Keys->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        return columnSpan;
    };
    // Every key as wide as the widest caption needs, so the columns are even
    // and no caption is cut.
    const int spacing = Keys->horizontalSpacing();
    int width = MinKeyWidth;
    const auto buttons = findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        const int caption = button->fontMetrics().horizontalAdvance(button->text()) + 10;
        if (const int span = spanOf(button); span > 0)
            width = std::max(width, (caption - (span - 1) * spacing + span - 1) / span);
        button->setFixedHeight(height);
    }
    for (QPushButton* button : buttons)
        if (const int span = spanOf(button); span > 0)
            button->setFixedWidth(span * width + (span - 1) * spacing);
    // The toggles share the width of the grid above them, the last taking
    // what the division leaves.
    const int toggles = Modes->count();
    const int share = (Grid->width() - (toggles - 1) * Modes->spacing()) / toggles;
    for (int i = 0; i < toggles; ++i)
        if (QWidget* toggle = Modes->itemAt(i)->widget())
            toggle->setFixedWidth(i + 1 < toggles
                    ? share
                    : Grid->width() - (toggles - 1) * (share + Modes->spacing()));

    // The keypad's two gap rows take up what the stack grid is taller than
    // the keys beside it.
    const int rowSpacing = Keys->verticalSpacing();
    const int spare = Grid->height() + rowSpacing - (EnterRow - 2) * (height + rowSpacing);
    Keys->setRowMinimumHeight(FirstRowGap, std::max(0, spare / 2 - rowSpacing));
    Keys->setRowMinimumHeight(SecondRowGap, std::max(0, spare - spare / 2 - rowSpacing));
}

QSize TCalculatorPage::sizeHint() const
{
    // The whole keypad: a scroll area would offer only part of a large one.
    return Scroller->widget()->sizeHint();
}

void TCalculatorPage::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && Keys)
        FitButtons();
    if (event->type() == QEvent::PaletteChange && Keys)
        ColourKeys();
}

void TCalculatorPage::BuildKeypad(QGridLayout* keys, QHBoxLayout* modes)
{
    for (const TKeyButton& key : KeyButtons) {
        QPushButton* button = NewButton(key.Name, Text(key.Caption), Text(key.Hint), key.Kind);
        keys->addWidget(button, key.Row, FirstKeyColumn + key.Column, 1, key.Span);
        button->setProperty(TagProperty, static_cast<int>(static_cast<uint8_t>(key.Tag)));
        connect(button, &QPushButton::clicked, this, [this, button] { CalcClick(button); });
    }
    for (const TFunctionButton& function : FunctionButtons) {
        QPushButton* button = NewButton(
            function.Name, Text(function.Caption), Text(function.Hint), TKeyKind::Plain);
        keys->addWidget(button, function.Row, FirstKeyColumn + function.Column);
        const auto operation = function.Operation;
        connect(button, &QPushButton::clicked, this,
            [this, operation] { CalcFunctionClick(operation); });
    }
    QPushButton* roll = NewButton("CalcRoll", u"Roll Down"_s, QString(), TKeyKind::Plain);
    keys->addWidget(roll, EnterRow - 1, FirstKeyColumn + 1, 1, 2);
    connect(roll, &QPushButton::clicked, this, &TCalculatorPage::CalcRollClick);

    const struct {
        const char* Name;
        QString Caption, Hint;
    } toggles[] = {
        { "CalcHex", u"Hex"_s, u"Toggle Hex / Decimal modes"_s },
        { "CalcEng", u"Eng"_s, u"Engineering Notation"_s },
        { "CalcRad", u"R"_s, u"Radians"_s },
        { "CalcInvTrig", u"inv"_s, u"Inverse Trig Functions"_s },
    };
    for (const auto& toggle : toggles) {
        QPushButton* button = NewButton(toggle.Name, toggle.Caption, toggle.Hint, TKeyKind::Plain);
        button->setCheckable(true);
        modes->addWidget(button);
    }
    HexButton = Button("CalcHex");
    EngButton = Button("CalcEng");
    RadButton = Button("CalcRad");
    InvTrigButton = Button("CalcInvTrig");
    connect(HexButton, &QPushButton::clicked, this, [this](bool down) {
        Calc.CalcHex = down;
        CalcHexClick();
    });
    connect(EngButton, &QPushButton::clicked, this, &TCalculatorPage::CalcEngClick);
    // Radians and inverse have no handler: the trigonometric buttons read them.
    connect(RadButton, &QPushButton::clicked, this, [this](bool down) { Calc.CalcRad = down; });
    connect(
        InvTrigButton, &QPushButton::clicked, this, [this](bool down) { Calc.CalcInvTrig = down; });
    for (const char* name : HexOnly)
        HexOnlyButtons.push_back(Button(name));
    for (const char* name : DecimalOnly)
        DecimalOnlyButtons.push_back(Button(name));

    QPushButton* help = NewButton("CalculatorHelpButton", u"?"_s, u"Help  (F1)"_s, TKeyKind::Plain);
    modes->addWidget(help);
    connect(help, &QPushButton::clicked, this, &TCalculatorPage::HelpButtonClick);
}

QPushButton* TCalculatorPage::Button(const char* name) const
{
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

void TCalculatorPage::Guarded(const std::function<void()>& handler)
{
    bool completed = false;
    RunGuarded(Dialogues, [&] {
        handler();
        completed = true;
    });
    // A fault stored nothing, but it may have finished the entry; show the
    // record as it now stands.
    if (!completed)
        Calc.Repaint();
}

void TCalculatorPage::FormKeyPress(QChar key)
{
    if (key.unicode() == CtrlV) {
        PasteX();
        return;
    }
    const std::string code = KeyCodes(QString(key));
    if (code.size() == 1)
        Guarded([&] { Calc.CalcKey(static_cast<uint8_t>(code.front())); });
}

void TCalculatorPage::CalcHexClick()
{
    Guarded([this] { Calc.CalcHexClick(); });
}

void TCalculatorPage::PasteX()
{
    const QString text = Clipboard.Text();
    if (text.isEmpty())
        return;
    Guarded([&] { Calc.PasteX(KeyCodes(text)); });
}

int TCalculatorPage::CurrentRow() const
{
    return Grid->SelectedRow();
}

void TCalculatorPage::SetCurrentRow(int row)
{
    Grid->SetSelectedRow(row);
}

QColor TCalculatorPage::ColourCalculator() const
{
    return Grid->Colour();
}

void TCalculatorPage::SetColourCalculator(const QColor& colour)
{
    Grid->SetColour(colour);
}

void TCalculatorPage::PutOnClipboard(const std::string& text)
{
    Clipboard.SetText(FromCore(text));
}

void TCalculatorPage::Repainted()
{
    Model->Refresh();
    HexButton->setChecked(Calc.CalcHex);
    EngButton->setChecked(Calc.CalcEng);
    RadButton->setChecked(Calc.CalcRad);
    InvTrigButton->setChecked(Calc.CalcInvTrig);
    for (QPushButton* button : HexOnlyButtons)
        button->setEnabled(Calc.CalcHex);
    for (QPushButton* button : DecimalOnlyButtons)
        button->setEnabled(!Calc.CalcHex);
}

void TCalculatorPage::CalcClick(QAbstractButton* button)
{
    const auto tag = static_cast<uint8_t>(button->property(TagProperty).toInt());
    Guarded([this, tag] { Calc.CalcKey(tag); });
}

void TCalculatorPage::CalcFunctionClick(void (TCalculator::*operation)())
{
    Guarded([this, operation] { (Calc.*operation)(); });
}

void TCalculatorPage::CalcRollClick()
{
    Guarded([this] { Calc.CalcRollClick(); });
}

void TCalculatorPage::CalcEngClick(bool down)
{
    Calc.CalcEng = down;
    Guarded([this] { Calc.CalcEngClick(); });
}

void TCalculatorPage::CalculatorGridDblClick()
{
    Guarded([this] { Calc.RecallLevel(Grid->SelectedRow()); });
}

void TCalculatorPage::CalculatorGridMouseDown(Qt::MouseButton button, const QPoint& globalPos)
{
    if (button == Qt::RightButton)
        pmCalculator->popup(globalPos);
}

void TCalculatorPage::CalculatorGridRowMoved(int from, int to)
{
    Guarded([this, from, to] { Calc.MoveLevel(from, to); });
}

void TCalculatorPage::CalcMenuCopyClick()
{
    Guarded([this] { Calc.CalcKey(CtrlC); });
}

void TCalculatorPage::HelpButtonClick()
{
    Q_EMIT HelpRequested(HelpTopic);
}
