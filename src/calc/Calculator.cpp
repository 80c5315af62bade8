#include "calc/Calculator.h"

#include "base/LongStrings.h"
#include "calc/CalcFaults.h"
#include "calc/CalcFormat.h"

#include <cmath>

namespace
{

constexpr uint8_t KeyCopy = 3;
constexpr uint8_t KeyBackspace = 8;
constexpr uint8_t KeyEnter = 13;
constexpr uint8_t KeyMicroSign = 181;
constexpr size_t MaxEntryLength = 1000;

// The four operations round once, straight to double; their operands are
// finite, so an infinite result can only be an overflow.
double Finite(double result)
{
    if (std::isinf(result))
        throw EOverflow();
    return result;
}

double Quotient(double y, double x)
{
    if (x == 0) {
        if (y == 0)
            throw EInvalidOp();
        throw EZeroDivide();
    }
    return Finite(y / x);
}

double Power(double y, double x)
{
    // Y^X is e^(X ln Y): ln of a negative Y is invalid, ln 0 divides by zero.
    if (y < 0)
        throw EInvalidOp();
    if (y == 0)
        throw EZeroDivide();
    return Stored(std::pow(static_cast<long double>(y), static_cast<long double>(x)));
}

double FromInt64(int64_t n)
{
    return static_cast<double>(n);
}

} // namespace

void TCalculator::ClearStack()
{
    CalcStack.fill(0);
    EntryState = esResult;
    Repaint();
}

void TCalculator::LiftStack()
{
    if (EntryState != esAfterEnter)
        for (int i = Levels - 1; i >= 1; --i)
            CalcStack[i] = CalcStack[i - 1];
    EntryState = esAfterEnter;
}

void TCalculator::DropStack()
{
    for (int i = 1; i <= Levels - 2; ++i)
        CalcStack[i] = CalcStack[i + 1];
    EntryState = esResult;
}

void TCalculator::Binary(double result)
{
    X() = result;
    DropStack();
}

bool TCalculator::CalcKey(uint8_t code)
{
    const char c = static_cast<char>(code);
    const char upper = UpCaseAscii(c);
    bool accepted = true;
    if (code == KeyCopy) {
        if (const auto host = Host.lock())
            host->PutOnClipboard(ShownX);
    } else if (code == KeyEnter) {
        EntryState = esResult;
        LiftStack();
    } else if (upper == 'H') {
        CalcHex = !CalcHex;
        CalcHexClick();
    } else if (c == ' ') {
        const auto host = Host.lock();
        RecallLevel(host ? host->SelectedRow() : XRow);
    } else if (c == '+') {
        Binary(Finite(Y() + X()));
    } else if (c == '-') {
        Binary(Finite(Y() - X()));
    } else if (c == '*' || upper == 'X') {
        Binary(Finite(Y() * X()));
    } else if (c == '/') {
        Binary(Quotient(Y(), X()));
    } else if (c == '^') {
        Binary(Power(Y(), X()));
    } else if (c == '&') {
        Binary(FromInt64(TruncToInt64(Y()) & TruncToInt64(X())));
    } else if (c == '|') {
        Binary(FromInt64(TruncToInt64(Y()) | TruncToInt64(X())));
    } else if (c == '\\') {
        Binary(FromInt64(TruncToInt64(Y()) ^ TruncToInt64(X())));
    } else if (c == '<') {
        EntryState = esResult;
        // Two's-complement doubling, wrapping at 64 bits.
        X() = FromInt64(static_cast<int64_t>(static_cast<uint64_t>(TruncToInt64(X())) << 1));
    } else if (c == '>') {
        EntryState = esResult;
        X() = FromInt64(TruncToInt64(X()) / 2);
    } else if (c == '~') {
        EntryState = esResult;
        X() = FromInt64(~TruncToInt64(X()));
    } else if (upper == 'S') {
        EntryState = esResult;
        X() = -X();
    } else if (code == KeyBackspace || c == '.' || (upper >= '0' && upper <= '9')
        || (upper >= 'A' && upper <= 'F')) {
        accepted = NumberEntry(c);
    } else {
        accepted = !CalcHex && Prefix(c);
    }
    if (CalcHex)
        ClampHexRange();
    Repaint();
    return accepted;
}

bool TCalculator::NumberEntry(char c)
{
    // Every character reads the whole entry again, so a long paste (a hex dump
    // whose spaces recall nothing) must not grow it without end. No number
    // needs more characters than this.
    if (EntryState == esEntering && c != static_cast<char>(KeyBackspace)
        && EntryText.size() >= MaxEntryLength)
        return false;
    if (EntryState != esEntering) {
        EntryText.clear();
        LiftStack();
    }
    EntryState = esEntering;
    if (c == static_cast<char>(KeyBackspace)) {
        if (!EntryText.empty())
            EntryText.pop_back();
    } else
        EntryText += c;

    if (CalcHex) {
        X() = static_cast<double>(static_cast<uint32_t>(HexToInt(EntryText)));
        return true;
    }
    double value = 0;
    if (!ReadDecimal(EntryText, value)) {
        EntryText.clear();
        X() = 0;
        return false;
    }
    X() = value;
    return true;
}

bool TCalculator::Prefix(char c)
{
    const auto scale = [this](double factor, bool multiply) {
        EntryState = esResult;
        CalcEng = true;
        X() = Stored(multiply ? X() * factor : X() / factor);
    };
    switch (c) {
    case 'k':
    case 'K':
        scale(1e3, true);
        return true;
    case 'M':
        scale(1e6, true);
        return true;
    case 'g':
    case 'G':
        scale(1e9, true);
        return true;
    case 't':
    case 'T':
        scale(1e12, true);
        return true;
    case 'm':
        scale(1e3, false);
        return true;
    case 'u':
    case 'U':
    case static_cast<char>(KeyMicroSign):
        scale(1e6, false);
        return true;
    case 'n':
    case 'N':
        scale(1e9, false);
        return true;
    case 'p':
    case 'P':
        scale(1e12, false);
        return true;
    default:
        return false;
    }
}

void TCalculator::PasteX(std::string_view text)
{
    EntryState = esResult;
    for (char c : text)
        if (!CalcKey(static_cast<uint8_t>(c)))
            break;
    EntryState = esResult;
    Repaint();
}

void TCalculator::CalcRollClick()
{
    for (int i = 0; i <= Levels - 2; ++i)
        CalcStack[i] = CalcStack[i + 1];
    EntryState = esResult;
    Repaint();
}

void TCalculator::RecallLevel(int row)
{
    if (row < 0 || row >= XRow)
        return;
    const int k = XRow - row;
    const double v = CalcStack[k];
    for (int i = k; i >= 1; --i)
        CalcStack[i] = CalcStack[i - 1];
    X() = v;
    EntryState = esResult;
    Repaint();
}

void TCalculator::MoveLevel(int from, int to)
{
    if (from < 0 || from > XRow || to < 0 || to > XRow)
        return;
    const double v = CalcStack[XRow - from];
    if (from > to)
        for (int r = from - 1; r >= to; --r)
            CalcStack[XRow - (r + 1)] = CalcStack[XRow - r];
    else
        for (int r = from + 1; r <= to; ++r)
            CalcStack[XRow - (r - 1)] = CalcStack[XRow - r];
    CalcStack[XRow - to] = v;
    EntryState = esResult;
    Repaint();
}

void TCalculator::ClampHexRange()
{
    if (!CalcHex)
        return;
    for (double& level : CalcStack)
        if (!(level >= -4294967296.0 && level <= 4294967295.0))
            level = 0;
}

void TCalculator::CalcHexClick()
{
    ClampHexRange();
    EntryState = esResult;
    Repaint();
}

void TCalculator::CalcEngClick()
{
    EntryState = esResult;
    Repaint();
}

std::string TCalculator::RowText(int row) const
{
    if (row < 0 || row > XRow)
        return {};
    if (row == XRow && EntryState == esEntering)
        return EntryText;
    const double v = CalcStack[XRow - row];
    if (CalcHex)
        return HexText(v);
    if (CalcEng && std::fabs(v) >= 1e-15 && std::fabs(v) <= 1e15)
        return EngineeringText(v);
    return GeneralText(v);
}

void TCalculator::Repaint()
{
    ShownX = RowText(XRow);
    if (const auto host = Host.lock())
        host->Repainted();
}
