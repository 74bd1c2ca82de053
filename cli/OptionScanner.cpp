// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/OptionScanner.h"

#include <getopt.h>

namespace velmaro {

namespace {

// getopt_long answers a long option with this plus the option's row, so that a row can never
// be taken for a short option's letter.
constexpr int LongOptionBase = 0x100;

} // namespace

OptionScanner::OptionScanner(std::span<const OptionSpec> options, std::span<char* const> arguments)
    : m_options(options) {
    m_argv.push_back(m_programName.data());
    m_argv.insert(m_argv.end(), arguments.begin(), arguments.end());
    m_argv.push_back(nullptr);
    // "+": nothing is permuted, so options apply in the order given and the first operand ends
    // the options; ":": a missing value is told apart from an unknown option.
    m_shortOptions = "+:";
    m_longNames.reserve(options.size());
    for (std::size_t row = 0; row < options.size(); ++row) {
        const OptionSpec& option = options[row];
        m_longNames.emplace_back(option.LongName);
        m_longOptions.push_back({m_longNames.back().c_str(),
                                 option.TakesValue ? required_argument : no_argument, nullptr,
                                 LongOptionBase + static_cast<int>(row)});
        if (option.ShortName != '\0') {
            m_shortOptions += option.ShortName;
            if (option.TakesValue)
                m_shortOptions += ':';
        }
    }
    m_longOptions.push_back({nullptr, 0, nullptr, 0});
    // 0 makes glibc start afresh, also after an earlier scan; no message of getopt's own.
    optind = 0;
    opterr = 0;
}

std::optional<ScannedArgument> OptionScanner::next() {
    const int argc = static_cast<int>(m_argv.size()) - 1;
    if (m_operand == 0) {
        const int found =
            getopt_long(argc, m_argv.data(), m_shortOptions.c_str(), m_longOptions.data(), nullptr);
        if (found != -1)
            return scanned(found);
        m_operand = optind;
    }
    if (m_operand >= argc)
        return std::nullopt;
    const std::string_view operand = m_argv[m_operand++];
    return ScannedArgument{std::nullopt, std::string(operand), operand};
}

ScannedArgument OptionScanner::scanned(int found) const {
    if (found == ':') {
        // optopt names the option whose value is missing: a letter, or a long option's answer.
        throw OptionError("option " + nameOf(optopt) + " needs a value");
    }
    if (found == '?') {
        if (optopt >= LongOptionBase)
            throw OptionError("option " + nameOf(optopt) + " takes no value");
        if (optopt != 0)
            throw OptionError("unknown option -" + std::string(1, static_cast<char>(optopt)));
        throw unknownLongOption(m_argv[optind - 1]);
    }
    const std::size_t row = rowOf(found);
    const std::string_view value =
        m_options[row].TakesValue ? std::string_view(optarg) : std::string_view();
    return ScannedArgument{row, nameOf(found), value};
}

std::size_t OptionScanner::rowOf(int answer) const {
    if (answer >= LongOptionBase)
        return static_cast<std::size_t>(answer - LongOptionBase);
    std::size_t row = 0;
    while (m_options[row].ShortName != static_cast<char>(answer))
        ++row;
    return row;
}

std::string OptionScanner::nameOf(int answer) const {
    // A short option as written; a long one in full, also when it was abbreviated.
    if (answer < LongOptionBase)
        return {'-', static_cast<char>(answer)};
    return "--" + std::string(m_options[rowOf(answer)].LongName);
}

OptionError OptionScanner::unknownLongOption(std::string_view written) const {
    // getopt_long says only that it could not use the option: tell an abbreviation that fits
    // several options from a name that fits none.
    written = written.substr(0, written.find('='));
    const std::string_view name = written.substr(2);
    std::string candidates;
    for (const OptionSpec& option : m_options)
        if (!name.empty() && option.LongName.starts_with(name))
            candidates += " --" + std::string(option.LongName);
    if (candidates.empty())
        return OptionError("unknown option " + std::string(written));
    return OptionError("option " + std::string(written) + " is ambiguous; it may be" + candidates);
}

} // namespace velmaro
