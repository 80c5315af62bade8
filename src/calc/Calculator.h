#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The number-entry state of the calculator.
enum TEntryState : uint8_t {
    esEntering = 0, // X holds the value of EntryText, which the X row shows
    esAfterEnter = 1, // the next number typed replaces X without lifting
    esResult = 2, // X is a result: the next number typed lifts it into Y
};

// What the engine needs from the page that shows it.
class ICalcHost
{
public:
    virtual ~ICalcHost() = default;
    // Plain 8-bit text for the clipboard.
    virtual void PutOnClipboard(const std::string& text) = 0;
    // The display row (0 top .. 7 X) the user has selected.
    virtual int SelectedRow() const = 0;
    // The state changed: redraw the stack and the toggles.
    virtual void Repainted() = 0;
};

// The reverse-Polish calculator: an eight-level stack, the number being typed
// and the four mode toggles. One instance lives as long as the main window.
// Every operation that faults (see CalcFaults.h) throws before it stores
// anything.
class TCalculator
{
public:
    static constexpr int Levels = 8;
    static constexpr int XRow = 7;

    // Level 0 is X, 1 Y, 2 Z, 3..7 the levels "a".."e".
    std::array<double, Levels> CalcStack {};
    TEntryState EntryState = esResult;
    // The number being typed, exactly as typed.
    std::string EntryText;
    // What the display last showed for X; what "Copy X" copies.
    std::string ShownX = "0";

    // Down-states of the page's toggles: hexadecimal mode, engineering
    // display, radians, inverse trigonometric functions.
    bool CalcHex = false;
    bool CalcEng = false;
    bool CalcRad = false;
    bool CalcInvTrig = false;

    // The page that shows the record. Held weakly: whichever of the two goes
    // first, the other is never left pointing at it.
    void SetHost(std::weak_ptr<ICalcHost> host) { Host = std::move(host); }

    void ClearStack();
    void LiftStack();
    void DropStack();
    // Processes one typed, pasted or button character (8-bit code); false when
    // rejected.
    bool CalcKey(uint8_t code);
    // Text typed character by character until the first one rejected.
    void PasteX(std::string_view text);
    void CalcRollClick();
    // Moves the level shown in `row` into X; the levels below it move up.
    void RecallLevel(int row);
    // Reorders the stack after the display row `from` was dragged to `to`.
    void MoveLevel(int from, int to);
    // In hex mode, zeroes every level outside -2^32..2^32-1.
    void ClampHexRange();

    // The function buttons.
    void CalcInv();
    void CalcSqrt();
    void CalcSqr();
    void CalcLog();
    void CalcAntiLog();
    void CalcLn();
    void CalcExp();
    void CalcSin();
    void CalcCos();
    void CalcTan();
    void CalcRP();
    void CalcPR();
    void CalcPi();
    void CalcFac();
    // Run after CalcHex or CalcEng has changed state.
    void CalcHexClick();
    void CalcEngClick();

    // The value text of display row `row` (row 7 - k shows level k).
    std::string RowText(int row) const;
    // Refreshes ShownX and asks the host to redraw.
    void Repaint();

private:
    double& X() { return CalcStack[0]; }
    double& Y() { return CalcStack[1]; }
    void Binary(double result);
    bool NumberEntry(char c);
    bool Prefix(char c);
    long double ToRadians(long double v) const;
    long double FromRadians(long double v) const;

    std::weak_ptr<ICalcHost> Host;
};
