// PrintableText: text taken from a file, made safe to quote in an error
// message that goes to the terminal and into a message box. A file can hold
// any bytes: bytes that are not UTF-8 garble the terminal's output, and
// control characters (an escape sequence, a bell, a line break) act on it.
// Valid UTF-8 passes unchanged, everything else is written out as an escape
// a reader can still make sense of. Only for quoting: the text itself is
// used as the file says.
#pragma once

#include <string>
#include <string_view>

namespace mirefell
{

// `text` with every byte that does not belong to a well-formed UTF-8
// sequence (a stray or missing continuation byte, an overlong form, a
// surrogate, a code point beyond U+10FFFF) and every C0 control character
// and DEL written as \xNN (two upper-case hex digits), and every C1 control
// character (U+0080 to U+009F) and bidirectional control (U+061C, U+200E,
// U+200F, U+202A to U+202E, U+2066 to U+2069) written as \uNNNN. Anything
// else, backslashes included, is kept as it is.
std::string PrintableText(std::string_view text);

} // namespace mirefell
