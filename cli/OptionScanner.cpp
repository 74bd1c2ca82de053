#include "cli/OptionScanner.h"

#include <vector>

namespace velmaro {

namespace {

std::string longName(const OptionSpec& option) {
    return "--" + std::string(option.LongName);
}

} // namespace

OptionScanner::OptionScanner(std::span<const OptionSpec> options, std::span<char* const> arguments)
    : m_options(options), m_arguments(arguments) {}

std::optional<ScannedArgument> OptionScanner::next() {
    if (!m_cluster.empty())
        return shortOption();
    if (m_next >= m_arguments.size())
        return std::nullopt;
    const std::string_view argument = m_arguments[m_next++];
    if (!m_optionsEnded && argument == "--") {
        m_optionsEnded = true;
        return next();
    }
    if (m_optionsEnded || argument.size() < 2 || argument[0] != '-')
        return ScannedArgument{std::nullopt, std::string(argument), argument};
    if (argument[1] == '-')
        return longOption(argument.substr(2));
    m_cluster = argument.substr(1);
    return shortOption();
}

ScannedArgument OptionScanner::longOption(std::string_view text) {
    const auto equals = text.find('=');
    const std::string_view written = text.substr(0, equals);
    const std::size_t index = findLong(written);
    const OptionSpec& option = m_options[index];
    ScannedArgument scanned{index, longName(option), {}};
    if (equals != std::string_view::npos) {
        if (!option.TakesValue)
            throw OptionError("option " + scanned.Name + " takes no value");
        scanned.Value = text.substr(equals + 1);
    } else if (option.TakesValue) {
        scanned.Value = nextArgumentAsValue(scanned.Name);
    }
    return scanned;
}

ScannedArgument OptionScanner::shortOption() {
    const char letter = m_cluster.front();
    m_cluster.remove_prefix(1);
    const std::string name = {'-', letter};
    for (std::size_t index = 0; index < m_options.size(); ++index) {
        const OptionSpec& option = m_options[index];
        if (option.ShortName != letter)
            continue;
        ScannedArgument scanned{index, name, {}};
        if (option.TakesValue) {
            scanned.Value = m_cluster.empty() ? nextArgumentAsValue(name) : m_cluster;
            m_cluster = {};
        }
        return scanned;
    }
    m_cluster = {};
    throw OptionError("unknown option " + name);
}

std::size_t OptionScanner::findLong(std::string_view name) const {
    std::vector<std::size_t> prefixed;
    for (std::size_t index = 0; index < m_options.size() && !name.empty(); ++index) {
        const std::string_view candidate = m_options[index].LongName;
        if (candidate == name)
            return index;
        if (candidate.starts_with(name))
            prefixed.push_back(index);
    }
    if (prefixed.size() == 1)
        return prefixed.front();
    const std::string written = "--" + std::string(name);
    if (prefixed.empty())
        throw OptionError("unknown option " + written);
    std::string message = "option " + written + " is ambiguous; it may be";
    for (const std::size_t index : prefixed)
        message += " " + longName(m_options[index]);
    throw OptionError(message);
}

std::string_view OptionScanner::nextArgumentAsValue(const std::string& name) {
    if (m_next >= m_arguments.size())
        throw OptionError("option " + name + " needs a value");
    return m_arguments[m_next++];
}

} // namespace velmaro
