#include "comms/Picking.h"

#include "base/Utf8Text.h"

#include <algorithm>

namespace
{

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsPrintable(char c)
{
    return static_cast<unsigned char>(c) >= 32;
}

} // namespace

bool IsPhoneChar(char c)
{
    return c == ' ' || c == '(' || c == ')' || c == '-' || (c >= '0' && c <= '9');
}

TPhonePick PhoneNumberAtCaret(std::string_view text, size_t caret)
{
    // 1-based positions, as T[s] in the walk below: T[i] is text[i - 1].
    const auto at = [text](size_t i) { return text[i - 1]; };
    const size_t length = text.size();
    size_t s = std::min(caret, length) + 1;
    while (s > 1 && IsPhoneChar(at(s - 1)))
        --s;
    TPhonePick pick;
    if (s <= length) {
        size_t e = s;
        while (e < length && IsPhoneChar(at(e + 1)))
            ++e;
        // The character at s is taken even when it is no phone character; the
        // check below then refuses the number.
        pick.Number = std::string(text.substr(s - 1, e - s + 1));
    }
    if (s > 1) {
        size_t p = s - 1;
        while (p > 0 && IsBlank(at(p)))
            --p;
        const size_t end = p;
        while (p > 1 && IsPrintable(at(p - 1)))
            --p;
        if (p < end)
            pick.Label = std::string(text.substr(p - 1, end - p + 1));
    }
    if (!std::all_of(pick.Number.begin(), pick.Number.end(), IsPhoneChar))
        pick.Number.clear();
    return pick;
}

TPhonePick PhoneNumberInCell(std::string_view cell, int column, std::string_view firstColumn)
{
    TPhonePick pick { std::string(cell), column > 1 ? std::string(firstColumn) : std::string() };
    if (!std::all_of(pick.Number.begin(), pick.Number.end(), IsPhoneChar))
        pick.Number.clear();
    return pick;
}

bool IsValidPhoneNumber(std::string_view number)
{
    return number.size() >= MinPhoneLength && number.size() <= MaxPhoneLength
        && std::all_of(number.begin(), number.end(), IsPhoneChar);
}

bool IsValidEmailAddress(std::string_view address)
{
    return CharacterCount(address) >= MinEmailLength && address.find('@') != std::string_view::npos
        && address.find('.') != std::string_view::npos;
}

std::string DialCommand(std::string_view number)
{
    std::string command = "ATD";
    command += number;
    command += '\r';
    if (command.size() > MaxComBuffer)
        command.resize(MaxComBuffer);
    return command;
}

std::string TelLink(std::string_view number)
{
    std::string link = "tel:";
    for (const char c : number)
        if (!IsBlank(c))
            link += c;
    return link;
}
