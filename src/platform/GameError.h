// GameError: the exception that carries the game's literal failure messages
// ("can't access file", "ReadData", "invalid map - no layer objects", ...).
// what() is exactly the literal, so callers and tests can compare it; detail
// (a file name, a line) travels separately and is shown by the top-level
// handler after the literal.
#pragma once

#include <stdexcept>
#include <string>

namespace mirefell
{

class GameError : public std::runtime_error
{
public:
    explicit GameError(const std::string& message, std::string detail_ = {})
        : std::runtime_error(message), detail(std::move(detail_))
    {}

    // Extra context, such as the file or record that failed; may be empty.
    const std::string& Detail() const noexcept { return detail; }
    // "message (detail)" or just the message.
    std::string Describe() const { return detail.empty() ? what() : std::string(what()) + " (" + detail + ")"; }

private:
    std::string detail;
};

} // namespace mirefell
