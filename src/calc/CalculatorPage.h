#pragma once

#include "calc/CalcKeypad.h"
#include "calc/Calculator.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class IClipboard;
class IDialogues;
class QAbstractButton;
class QGridLayout;
class QHBoxLayout;
class QMenu;
class QPushButton;
class QScrollArea;
class TCalcStackModel;
class TCalculatorGrid;

// The "Calculator" page: the stack grid beside the keypad. The page shows the
// calculator record it is given and routes every button, menu item, drag and
// typed character to it; a fault shows the general error box and the page
// carries on.
class TCalculatorPage final : public QWidget
{
    Q_OBJECT

public:
    TCalculatorPage(
        TCalculator& calc, IDialogues& dialogues, IClipboard& clipboard, QWidget* parent = nullptr);

    // A character typed anywhere in the main window while this page is active:
    // Ctrl+V (code 22) pastes, anything else goes to the key processor.
    void FormKeyPress(QChar key);
    // The hex-mode switch, with the "Hex" button as it stands.
    void CalcHexClick();
    // Types the clipboard text until the first rejected character.
    void PasteX();
    // The selected row of the stack grid (0 top .. 7 X).
    int CurrentRow() const;
    void SetCurrentRow(int row);
    // Background of the stack grid; at first the window background colour.
    QColor ColourCalculator() const;
    void SetColourCalculator(const QColor& colour);

    // The whole keypad beside the stack, for the window's first size.
    QSize sizeHint() const override;

Q_SIGNALS:
    void HelpRequested(int topic);

protected:
    void changeEvent(QEvent* event) override;

private:
    class TLink;
    // What the record asks of the page.
    void PutOnClipboard(const std::string& text);
    void Repainted();

    void BuildKeypad(QGridLayout* keys, QHBoxLayout* modes);
    QPushButton* NewButton(
        const char* name, const QString& caption, const QString& hint, TKeyKind kind);
    void FitButtons();
    void ColourKeys();
    QPushButton* Button(const char* name) const;
    // Runs a handler; a fault goes to the general error box and the display
    // is brought back in line with the record.
    void Guarded(const std::function<void()>& handler);

    void CalcClick(QAbstractButton* button);
    void CalcFunctionClick(void (TCalculator::*operation)());
    void CalcRollClick();
    void CalcEngClick(bool down);
    void CalculatorGridDblClick();
    void CalculatorGridMouseDown(Qt::MouseButton button, const QPoint& globalPos);
    void CalculatorGridRowMoved(int from, int to);
    void CalcMenuCopyClick();
    void HelpButtonClick();

    TCalculator& Calc;
    IDialogues& Dialogues;
    IClipboard& Clipboard;
    TCalcStackModel* Model;
    QScrollArea* Scroller = nullptr;
    QGridLayout* Keys = nullptr;
    QHBoxLayout* Modes = nullptr;
    TCalculatorGrid* Grid;
    QMenu* pmCalculator;
    QPushButton* HexButton = nullptr;
    QPushButton* EngButton = nullptr;
    QPushButton* RadButton = nullptr;
    QPushButton* InvTrigButton = nullptr;
    std::vector<QPushButton*> HexOnlyButtons, DecimalOnlyButtons;
    // The record's weak link back to this page; it dies with the page.
    std::shared_ptr<ICalcHost> Link;
};
