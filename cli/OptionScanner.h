#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmaro {

// A command-line option or value that cannot be used; the text names it.
class OptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One option a program accepts: "--LongName" and, when ShortName is not '\0', "-S".
struct OptionSpec {
    std::string_view LongName;
    char ShortName = '\0';
    bool TakesValue = false;
};

// One argument as the scanner read it.
struct ScannedArgument {
    // The option's row in the table given to the scanner; empty for an operand (an argument
    // that is no option, or any argument after "--").
    std::optional<std::size_t> Option;
    // The option as an error message names it: "-n", or "--name" in full even when the command
    // line abbreviated it; for an operand, the operand itself.
    std::string Name;
    // The option's value (empty for an option that takes none), or the operand.
    std::string_view Value;
};

// Reads a command line by the rules of getopt_long, one argument at a time and in the order
// given (nothing is permuted):
// - "-n VALUE", "-nVALUE", "--name VALUE", "--name=VALUE"; a value is taken as it stands, also
//   when it starts with "-" or is empty;
// - short options that take no value may share one argument ("-0h"), and the last of them may
//   take a value ("-0n*.tmp");
// - a long option may be abbreviated to any prefix that names only one option; an exact name
//   always wins;
// - "--" ends the options: every argument after it is an operand, and so is "-" alone.
// The values and operands view the arguments passed in, which must outlive them. Any thread
// may use its own scanner.
class OptionScanner {
public:
    OptionScanner(std::span<const OptionSpec> options, std::span<char* const> arguments);

    // The next option or operand, or nothing when the arguments are used up. Throws
    // OptionError, naming the option as written, for an unknown option, an ambiguous
    // abbreviation, a missing value, or a value given to an option that takes none.
    std::optional<ScannedArgument> next();

private:
    ScannedArgument longOption(std::string_view text);
    ScannedArgument shortOption();
    std::size_t findLong(std::string_view name) const;
    std::string_view nextArgumentAsValue(const std::string& name);

    std::span<const OptionSpec> m_options;
    std::span<char* const> m_arguments;
    std::size_t m_next = 0;
    // The rest of a cluster of short options still to read ("h" after "-0" in "-0h").
    std::string_view m_cluster;
    bool m_optionsEnded = false;
};

} // namespace velmaro
