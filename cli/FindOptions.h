// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/OptionScanner.h"
#include "engine/SearchCriteria.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace velmaro {

// How velmaro-find prints what it finds.
struct FindOutput {
    bool Long = false;   // size, attribute word and the three times after each path
    bool Null = false;   // end records with NUL instead of a newline
    bool Events = false; // print every event instead of the matches alone
    bool Json = false;   // one JSON object per line for each record
};

// What becomes of the files found.
enum class CleanUp {
    None,   // nothing: they are listed
    Delete, // deleted by the deletion pass
    Trash,  // moved into the desktop's trash by the deletion pass
    DryRun, // the deletion pass only looks: what deleting them would do
};

// What the command line asks for besides the criteria.
struct FindOptions {
    bool Help = false;
    bool Version = false;
    bool Threaded = false;
    std::optional<std::size_t> Readers; // reader threads of the walk; the component's default
    FindOutput Output;
    CleanUp Action = CleanUp::None;
    std::optional<std::string> ReportFile; // where the report is also written, as given
};

// Reads the arguments after the program name by the rules of getopt_long (see OptionScanner).
// Criteria options are applied to Criteria in the order given, so a later option overrides an
// earlier one (a preset followed by --name keeps the preset's filters and replaces its masks).
// velmaro-find takes no operands. Throws OptionError for an unknown or ambiguous option, a
// missing value, a value that is not valid or an operand, and for options that do not go
// together: two of --delete, --trash and --dry-run; --report without one of them; --json with
// --long or --null; --long, --null or --events with a clean-up but without --json (a
// clean-up prints its report, not the listing). Criteria may then be partly set.
FindOptions ParseFindOptions(std::span<char* const> Arguments, TSearchCriteria& Criteria);

// Every option ParseFindOptions knows, in the order of its table.
std::span<const OptionSpec> FindOptionSpecs();

} // namespace velmaro
