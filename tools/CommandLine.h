// The command line of vardolin-jpeg: its options, and the help text that
// --help prints and the manual page repeats.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

namespace vardolin::tools {

extern const char* const kHelpText;

struct Options {
    enum class Action { Encode, Help, Version };
    Action action = Action::Encode;
    std::string input, output;  // "-": standard input or output
    std::optional<int> quality;
    std::optional<std::array<int, 6>> sampling;
    std::u16string comment;
    bool force = false;
};

// A command line that does not say what to do; the message names the fault.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Options ParseCommandLine(int argc, const char* const* argv);

}  // namespace vardolin::tools
