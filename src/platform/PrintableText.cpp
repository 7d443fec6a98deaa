// PrintableText: the UTF-8 check and the escapes.
#include "platform/PrintableText.h"

#include <cstdint>
#include <cstdio>

namespace mirefell
{

namespace
{

void AppendEscape(std::string& out, const char* format, unsigned value)
{
    char escape[8];
    std::snprintf(escape, sizeof escape, format, value);
    out += escape;
}

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0
// when its first byte starts none (the table of well-formed byte sequences
// of the Unicode standard, chapter 3).
size_t SequenceLength(std::string_view text)
{
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const auto within = [&](size_t i, uint8_t low, uint8_t high) {
        return i < text.size() && byte(i) >= low && byte(i) <= high;
    };
    const uint8_t lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return within(1, 0x80, 0xBF) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong form
        const uint8_t high = lead == 0xED ? 0x9F : 0xBF; // no surrogate
        return within(1, low, high) && within(2, 0x80, 0xBF) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const uint8_t low = lead == 0xF0 ? 0x90 : 0x80;  // no overlong form
        const uint8_t high = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
        return within(1, low, high) && within(2, 0x80, 0xBF) && within(3, 0x80, 0xBF) ? 4 : 0;
    }
    return 0; // a continuation byte, C0, C1 or F5 to FF
}

// The code point of the well-formed sequence of `length` bytes at `text`.
uint32_t CodePoint(std::string_view text, size_t length)
{
    static constexpr uint8_t LeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    uint32_t point = static_cast<uint8_t>(text[0]) & LeadBits[length];
    for (size_t i = 1; i < length; ++i)
        point = point << 6 | (static_cast<uint8_t>(text[i]) & 0x3F);
    return point;
}

// The controls of C1, and those that turn the direction in which the rest
// of a line is shown: a name holding U+202E would print the message after it
// backwards.
bool IsControl(uint32_t point)
{
    return (point >= 0x80 && point <= 0x9F) || point == 0x061C || point == 0x200E || point == 0x200F ||
           (point >= 0x202A && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069);
}

} // namespace

std::string PrintableText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const size_t length = SequenceLength(text.substr(i));
        const auto lead = static_cast<uint8_t>(text[i]);
        if (length == 0 || lead < 0x20 || lead == 0x7F) {
            AppendEscape(out, "\\x%02X", lead);
            ++i;
            continue;
        }
        if (const uint32_t point = CodePoint(text.substr(i), length); IsControl(point))
            AppendEscape(out, "\\u%04X", point);
        else
            out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

} // namespace mirefell
