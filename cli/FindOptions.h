#pragma once

#include "engine/SearchCriteria.h"

#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

namespace velmaro {

// How velmaro-find prints what it finds.
struct FindOutput {
    bool Long = false;   // size, attribute word and the three times after each path
    bool Null = false;   // end records with NUL instead of a newline
    bool Events = false; // print every event instead of the matches alone
};

// What the command line asks for besides the criteria.
struct FindOptions {
    bool Help = false;
    bool Threaded = false;
    std::optional<std::size_t> Readers; // reader threads of the walk; the component's default
    FindOutput Output;
};

// A command-line option or value that cannot be used; the text names it.
class OptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name. Criteria options are applied to Criteria in the
// order given, so a later option overrides an earlier one (a preset followed by --name keeps
// the preset's filters and replaces its masks). Throws OptionError for an unknown option, a
// missing value or a value that is not valid; Criteria may then be partly set.
FindOptions ParseFindOptions(std::span<char* const> Arguments, TSearchCriteria& Criteria);

} // namespace velmaro
