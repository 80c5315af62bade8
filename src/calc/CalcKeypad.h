#pragma once

#include "calc/Calculator.h"

#include <span>

// The keys of the calculator page: names, captions, hints and places.

enum class TKeyKind { Plain, Digit, Operator, Enter };

// Buttons that pass a character to the key processor.
struct TKeyButton {
    const char* Name;
    const char16_t* Caption;
    char Tag;
    const char16_t* Hint;
    int Row, Column, Span;
    TKeyKind Kind = TKeyKind::Plain;
};

// The function buttons, each with its own operation on the record.
struct TFunctionButton {
    const char* Name;
    const char16_t* Caption;
    const char16_t* Hint;
    void (TCalculator::*Operation)();
    int Row, Column;
};

// Keypad columns 0..2 (whole-number keys) and 4..7 (numbers, prefixes); rows
// 0..1 functions, 3..4 logic and prefixes, 6..9 the number pad.
extern const std::span<const TKeyButton> KeyButtons;
extern const std::span<const TFunctionButton> FunctionButtons;

// Buttons that only make sense on whole 32-bit numbers, and those that only
// make sense on decimal ones.
extern const std::span<const char* const> HexOnly;
extern const std::span<const char* const> DecimalOnly;
