// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <getopt.h>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// Reads a command line with glibc's getopt_long, one argument at a time and in the order given
// (nothing is permuted):
// - "-n VALUE", "-nVALUE", "--name VALUE", "--name=VALUE"; a value is taken as it stands, also
//   when it starts with "-" or is empty;
// - short options that take no value may share one argument ("-0h"), and the last of them may
//   take a value ("-0n*.tmp");
// - a long option may be abbreviated to any prefix that names only one option; an exact name
//   always wins;
// - "--" ends the options, and so does the first operand ("-" alone is one): every argument
//   from there on is an operand.
// The values and operands view the arguments passed in, which must outlive them. getopt_long
// keeps its state in globals: one scanner at a time, on one thread, and no other getopt call
// until it is done.
class OptionScanner {
public:
    OptionScanner(std::span<const OptionSpec> options, std::span<char* const> arguments);
    OptionScanner(const OptionScanner&) = delete;
    OptionScanner& operator=(const OptionScanner&) = delete;

    // The next option or operand, or nothing when the arguments are used up. Throws
    // OptionError, naming the option, for an unknown option, an ambiguous abbreviation, a
    // missing value, or a value given to an option that takes none.
    std::optional<ScannedArgument> next();

private:
    ScannedArgument scanned(int found) const;
    // The row of the option getopt_long answered with (a letter or a long option's answer).
    std::size_t rowOf(int answer) const;
    std::string nameOf(int answer) const;
    OptionError unknownLongOption(std::string_view written) const;

    std::span<const OptionSpec> m_options;
    std::string m_programName = "velmaro-find";
    // getopt_long's view of the command line: the program's name, the arguments, a null.
    std::vector<char*> m_argv;
    std::string m_shortOptions;
    std::vector<std::string> m_longNames; // NUL-terminated copies the table below points into
    std::vector<::option> m_longOptions;
    int m_operand = 0; // once the options ended: the next operand's index in m_argv
};

} // namespace velmaro
