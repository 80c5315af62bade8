#include "calc/CalcKeypad.h"

namespace
{

const char* const HexOnlyNames[] = { "CalcA", "CalcB", "CalcC", "CalcD", "CalcE", "CalcF",
    "CalcAnd", "CalcOr", "CalcXor", "CalcNot", "CalcLeft", "CalcRight" };
const char* const DecimalOnlyNames[] = { "CalcKilo", "CalcMega", "CalcGiga", "CalcTera",
    "CalcMilli", "CalcMicro", "CalcNano", "CalcPico", "CalcEng", "CalcRad", "CalcInvTrig",
    "CalcSin", "CalcCos", "CalcTan", "CalcLog", "CalcAntiLog", "CalcLn", "CalcExp", "CalcPR",
    "CalcRP", "CalcInv", "CalcSqrt", "CalcSqr", "CalcPi", "CalcFac", "CalcRaise" };

const TKeyButton KeyTable[] = {
    { "CalcAnd", u"&&", '&', u"Logical AND", 3, 0, 1 },
    { "CalcOr", u"|", '|', u"Logical OR", 3, 1, 1 },
    { "CalcXor", u"^", '\\', u"Logical Exclusive OR", 3, 2, 1 },
    { "CalcKilo", u"k", 'k', u"kilo", 3, 4, 1 },
    { "CalcMega", u"M", 'M', u"Mega", 3, 5, 1 },
    { "CalcGiga", u"G", 'G', u"Giga", 3, 6, 1 },
    { "CalcTera", u"T", 'T', u"Tera", 3, 7, 1 },
    { "CalcNot", u"~", '~', u"Logical NOT", 4, 0, 1 },
    { "CalcLeft", u"<<", '<', u"Shift Left", 4, 1, 1 },
    { "CalcRight", u">>", '>', u"Shift Right", 4, 2, 1 },
    { "CalcMilli", u"m", 'm', u"milli", 4, 4, 1 },
    { "CalcMicro", u"\u00B5", 'u', u"micro", 4, 5, 1 },
    { "CalcNano", u"n", 'n', u"nano", 4, 6, 1 },
    { "CalcPico", u"p", 'p', u"pico", 4, 7, 1 },
    { "CalcD", u"D", 'D', nullptr, 6, 0, 1, TKeyKind::Digit },
    { "CalcE", u"E", 'E', nullptr, 6, 1, 1, TKeyKind::Digit },
    { "CalcF", u"F", 'F', nullptr, 6, 2, 1, TKeyKind::Digit },
    { "Calc7", u"7", '7', nullptr, 6, 4, 1, TKeyKind::Digit },
    { "Calc8", u"8", '8', nullptr, 6, 5, 1, TKeyKind::Digit },
    { "Calc9", u"9", '9', nullptr, 6, 6, 1, TKeyKind::Digit },
    { "CalcDiv", u"/", '/', u"Y / X", 6, 7, 1, TKeyKind::Operator },
    { "CalcA", u"A", 'A', nullptr, 7, 0, 1, TKeyKind::Digit },
    { "CalcB", u"B", 'B', nullptr, 7, 1, 1, TKeyKind::Digit },
    { "CalcC", u"C", 'C', nullptr, 7, 2, 1, TKeyKind::Digit },
    { "Calc4", u"4", '4', nullptr, 7, 4, 1, TKeyKind::Digit },
    { "Calc5", u"5", '5', nullptr, 7, 5, 1, TKeyKind::Digit },
    { "Calc6", u"6", '6', nullptr, 7, 6, 1, TKeyKind::Digit },
    { "CalcMult", u"*", '*', u"Y * X", 7, 7, 1, TKeyKind::Operator },
    { "CalcRaise", u"^", '^', u"Raise Y to power X", 8, 0, 1, TKeyKind::Operator },
    { "Calc1", u"1", '1', nullptr, 8, 4, 1, TKeyKind::Digit },
    { "Calc2", u"2", '2', nullptr, 8, 5, 1, TKeyKind::Digit },
    { "Calc3", u"3", '3', nullptr, 8, 6, 1, TKeyKind::Digit },
    { "CalcMinus", u"-", '-', u"Y - X", 8, 7, 1, TKeyKind::Operator },
    { "CalcEnter", u"Enter", '\r', u"Push Up (between numbers)", 9, 0, 3, TKeyKind::Enter },
    { "Calc0", u"0", '0', nullptr, 9, 4, 1, TKeyKind::Digit },
    { "CalcPoint", u".", '.', nullptr, 9, 5, 1, TKeyKind::Digit },
    { "CalcSign", u"S", 'S', u"Change Sign", 9, 6, 1, TKeyKind::Operator },
    { "CalcPlus", u"+", '+', u"Y + X", 9, 7, 1, TKeyKind::Operator },
};

const TFunctionButton FunctionTable[] = {
    { "CalcSin", u"sin", u"sin (x)", &TCalculator::CalcSin, 0, 0 },
    { "CalcCos", u"cos", u"cos (x)", &TCalculator::CalcCos, 0, 1 },
    { "CalcTan", u"tan", u"tan (x)", &TCalculator::CalcTan, 0, 2 },
    { "CalcLog", u"log x", u"Log (x)", &TCalculator::CalcLog, 0, 4 },
    { "CalcAntiLog", u"10\u02E3", u"Antilog (x)", &TCalculator::CalcAntiLog, 0, 5 },
    { "CalcLn", u"ln x", u"Natural Log (x)", &TCalculator::CalcLn, 0, 6 },
    { "CalcExp", u"e\u02E3", u"Natural Antilog (x)", &TCalculator::CalcExp, 0, 7 },
    { "CalcInv", u"1/x", u"Inverse", &TCalculator::CalcInv, 1, 0 },
    { "CalcSqrt", u"\u221A", u"Square Root (x)", &TCalculator::CalcSqrt, 1, 1 },
    { "CalcSqr", u"x\u00B2", u"Square (x)", &TCalculator::CalcSqr, 1, 2 },
    { "CalcRP", u"r,\u00F8", u"Rectangular (x,y) to Polar (r,\u00F8) co-ordinates",
        &TCalculator::CalcRP, 1, 4 },
    { "CalcPR", u"x,y", u"Polar (r,\u00F8) to Rectangular (x,y) co-ordinates", &TCalculator::CalcPR,
        1, 5 },
    { "CalcPi", u"\u03C0", u"Pi", &TCalculator::CalcPi, 1, 6 },
    { "CalcFac", u"x!", u"Factorial (x)", &TCalculator::CalcFac, 1, 7 },
};

} // namespace

const std::span<const TKeyButton> KeyButtons(KeyTable);
const std::span<const TFunctionButton> FunctionButtons(FunctionTable);
const std::span<const char* const> HexOnly(HexOnlyNames);
const std::span<const char* const> DecimalOnly(DecimalOnlyNames);
