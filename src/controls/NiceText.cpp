#include "controls/NiceText.h"

#include <algorithm>

namespace
{

char UpperCode(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

TNiceText ParseNiceText(std::string_view caption)
{
    TNiceText result;
    TNiceRun style;
    std::size_t position = 0;
    while (position < caption.size()) {
        const std::size_t slash = caption.find('\\', position);
        const std::size_t end = slash == std::string_view::npos ? caption.size() : slash;
        if (end > position) {
            style.Text = caption.substr(position, end - position);
            result.Runs.push_back(style);
        }
        if (slash == std::string_view::npos || slash + 1 >= caption.size())
            break;
        const char code = UpperCode(caption[slash + 1]);
        switch (code) {
        case 'N':
            ++style.Line;
            ++result.LineCount;
            break;
        case 'B':
            style.Flipped.Bold = !style.Flipped.Bold;
            break;
        case 'I':
            style.Flipped.Italic = !style.Flipped.Italic;
            break;
        case 'U':
            style.Flipped.Underline = !style.Flipped.Underline;
            break;
        default:
            if (code >= '0' && code <= '?')
                style.Colour = code - '0';
            break;
        }
        position = slash + 2;
    }
    return result;
}

std::string NiceCaption(std::string_view text)
{
    std::string result;
    result.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            result += "\\n";
            ++i;
        } else if (text[i] == '\n') {
            // A lone line feed breaks the line too, and keeps the character before it.
            result += "\\n";
        } else {
            result += text[i];
        }
    }
    return result;
}

TNiceLayout LayOutNiceText(
    const TNiceText& text, int lineHeight, const std::function<int(const TNiceRun&)>& width)
{
    TNiceLayout layout;
    layout.Left.reserve(text.Runs.size());
    int line = 0;
    int x = 0;
    for (const TNiceRun& run : text.Runs) {
        if (run.Line != line) {
            line = run.Line;
            x = 0;
        }
        layout.Left.push_back(x);
        x += width(run);
        layout.Width = std::max(layout.Width, x);
    }
    layout.Height = text.LineCount * lineHeight;
    return layout;
}
