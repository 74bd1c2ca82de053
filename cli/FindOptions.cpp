// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FindOptions.h"

#include "cleaner/CleanerPreset.h"
#include "cleaner/JunkCatalogue.h"
#include "cli/TimeArgument.h"
#include "engine/FindFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string_view>

namespace velmaro {

namespace {

struct AttributeName {
    std::string_view name;
    int index;
};

// The fifteen attribute properties, as the attribute criteria name them.
constexpr std::array<AttributeName, 15> attributeNames{{
    {"Readonly", TAttributesCriteria::idxReadonly},
    {"Hidden", TAttributesCriteria::idxHidden},
    {"System", TAttributesCriteria::idxSystem},
    {"Directory", TAttributesCriteria::idxDirectory},
    {"Archive", TAttributesCriteria::idxArchive},
    {"Device", TAttributesCriteria::idxDevice},
    {"Normal", TAttributesCriteria::idxNormal},
    {"Temporary", TAttributesCriteria::idxTemporary},
    {"SparseFile", TAttributesCriteria::idxSparseFile},
    {"ReparsePoint", TAttributesCriteria::idxReparsePoint},
    {"Compressed", TAttributesCriteria::idxCompressed},
    {"Offline", TAttributesCriteria::idxOffline},
    {"NotContentIndexed", TAttributesCriteria::idxNotContentIndexed},
    {"Encrypted", TAttributesCriteria::idxEncrypted},
    {"Virtual", TAttributesCriteria::idxVirtual},
}};

struct StatusName {
    std::string_view name;
    TFileAttributeStatus status;
};

constexpr std::array<StatusName, 5> statusNames{{
    {"ignore", fsIgnore},
    {"set", fsSet},
    {"unset", fsUnset},
    {"anyset", fsAnySet},
    {"anyunset", fsAnyUnset},
}};

// The state of one parse, handed to each option's apply function.
struct Parse {
    FindOptions& options;
    TSearchCriteria& criteria;
    std::string_view option; // the option being applied, as error messages name it

    [[noreturn]] void badValue(std::string_view value) const {
        throw OptionError("invalid value '" + std::string(value) + "' for option " +
                          std::string(option));
    }

    template <typename Integer>
    Integer integer(std::string_view text) const {
        Integer value{};
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size())
            badValue(text);
        return value;
    }

    TDateTime time(std::string_view text) const {
        const auto value = ParseTimeArgument(text);
        if (!value)
            badValue(text);
        return *value;
    }

    void attribute(std::string_view text) const {
        const auto equals = text.find('=');
        if (equals == std::string_view::npos)
            badValue(text);
        const auto name = text.substr(0, equals);
        const auto status = text.substr(equals + 1);
        const auto* attribute =
            std::find_if(attributeNames.begin(), attributeNames.end(),
                         [&](const AttributeName& a) { return a.name == name; });
        const auto* state = std::find_if(statusNames.begin(), statusNames.end(),
                                         [&](const StatusName& s) { return s.name == status; });
        if (attribute == attributeNames.end() || state == statusNames.end())
            badValue(text);
        criteria.Attributes().Set(attribute->index, state->status);
    }

    void contentOption(TContentSearchOption option) const {
        TContentSearchOptions options = criteria.Content().Options();
        options.Include(option);
        criteria.Content().SetOptions(options);
    }

    void catalogue(std::string_view which) const {
        if (which != "recommended" && which != "all")
            badValue(which);
        criteria.Files().SetFileName(
            junkMaskString(which == "all" ? JunkSelection::All : JunkSelection::Recommended));
    }

    void cleanUp(CleanUp action) const {
        if (options.Action != CleanUp::None && options.Action != action)
            throw OptionError("options --delete, --trash and --dry-run exclude each other");
        options.Action = action;
    }
};

struct FindOption {
    OptionSpec spec;
    // Applies the option with its value (empty for an option that takes none).
    void (*apply)(Parse&, std::string_view value);
};

using Value = std::string_view;
constexpr char longOnly = '\0';
constexpr bool takesValue = true;

// Every option, applied in the order the command line gives them. A new option is one row
// here, one entry in the help text, the man page and the bash completion.
constexpr FindOption findOptions[] = {
    {{"help", 'h'}, [](Parse& p, Value) { p.options.Help = true; }},
    {{"version"}, [](Parse& p, Value) { p.options.Version = true; }},
    {{"name", 'n', takesValue}, [](Parse& p, Value v) { p.criteria.Files().SetFileName(v); }},
    {{"location", 'l', takesValue}, [](Parse& p, Value v) { p.criteria.Files().SetLocation(v); }},
    {{"path", 'p', takesValue}, [](Parse& p, Value v) { p.criteria.Files().Paths().Add(v); }},
    {{"filter", 'f', takesValue}, [](Parse& p, Value v) { p.criteria.Files().Filters().Add(v); }},
    {{"no-subfolders"}, [](Parse& p, Value) { p.criteria.Files().SetSubfolders(false); }},
    {{"min-level", longOnly, takesValue},
     [](Parse& p, Value v) { p.criteria.Files().SetMinLevel(p.integer<std::uint16_t>(v)); }},
    {{"max-level", longOnly, takesValue},
     [](Parse& p, Value v) { p.criteria.Files().SetMaxLevel(p.integer<std::uint16_t>(v)); }},
    {{"attr", 'a', takesValue}, [](Parse& p, Value v) { p.attribute(v); }},
    {{"size-min", longOnly, takesValue},
     [](Parse& p, Value v) { p.criteria.Size().SetMin(p.integer<std::int64_t>(v)); }},
    {{"size-max", longOnly, takesValue},
     [](Parse& p, Value v) { p.criteria.Size().SetMax(p.integer<std::int64_t>(v)); }},
    {{"created-before", longOnly, takesValue},
     [](Parse& p, Value v) { p.criteria.TimeStamp().SetCreatedBefore(p.time(v)); }},
    {{"created-after", longOnly, takesValue},
     [](Parse& p, Value v) { p.criteria.TimeStamp().SetCreatedAfter(p.time(v)); }},
    {{"modified-before", longOnly, takesValue},
     [](Parse& p, Value v) { p.criteria.TimeStamp().SetModifiedBefore(p.time(v)); }},
    {{"modified-after", longOnly, takesValue},
     [](Parse& p, Value v) { p.criteria.TimeStamp().SetModifiedAfter(p.time(v)); }},
    {{"accessed-before", longOnly, takesValue},
     [](Parse& p, Value v) { p.criteria.TimeStamp().SetAccessedBefore(p.time(v)); }},
    {{"accessed-after", longOnly, takesValue},
     [](Parse& p, Value v) { p.criteria.TimeStamp().SetAccessedAfter(p.time(v)); }},
    {{"phrase", longOnly, takesValue},
     [](Parse& p, Value v) { p.criteria.Content().SetPhrase(std::string(v)); }},
    {{"case-sensitive"}, [](Parse& p, Value) { p.contentOption(csoCaseSensitive); }},
    {{"whole-word"}, [](Parse& p, Value) { p.contentOption(csoWholeWord); }},
    {{"negate"}, [](Parse& p, Value) { p.contentOption(csoNegate); }},
    {{"catalogue", longOnly, takesValue}, [](Parse& p, Value v) { p.catalogue(v); }},
    {{"cleaner"}, [](Parse& p, Value) { ApplyCleanerPreset(p.criteria); }},
    {{"threaded"}, [](Parse& p, Value) { p.options.Threaded = true; }},
    {{"readers", longOnly, takesValue},
     [](Parse& p, Value v) {
         p.options.Readers = p.integer<std::size_t>(v);
         if (*p.options.Readers > TFindFile::MaxReaders)
             p.badValue(v);
     }},
    {{"long"}, [](Parse& p, Value) { p.options.Output.Long = true; }},
    {{"null", '0'}, [](Parse& p, Value) { p.options.Output.Null = true; }},
    {{"events"}, [](Parse& p, Value) { p.options.Output.Events = true; }},
    {{"json"}, [](Parse& p, Value) { p.options.Output.Json = true; }},
    {{"delete"}, [](Parse& p, Value) { p.cleanUp(CleanUp::Delete); }},
    {{"trash"}, [](Parse& p, Value) { p.cleanUp(CleanUp::Trash); }},
    {{"dry-run"}, [](Parse& p, Value) { p.cleanUp(CleanUp::DryRun); }},
    {{"report", longOnly, takesValue},
     [](Parse& p, Value v) {
         if (v.empty())
             p.badValue(v);
         p.options.ReportFile = std::string(v);
     }},
};

constexpr auto findOptionSpecs = [] {
    std::array<OptionSpec, std::size(findOptions)> specs{};
    for (std::size_t i = 0; i < specs.size(); ++i)
        specs[i] = findOptions[i].spec;
    return specs;
}();

// Refuses options that do not go together.
void checkCombination(const FindOptions& options) {
    const FindOutput& output = options.Output;
    if (options.ReportFile && options.Action == CleanUp::None)
        throw OptionError("option --report needs --delete, --trash or --dry-run");
    if (output.Json && (output.Long || output.Null))
        throw OptionError("option --json does not go with --long or --null");
    if (options.Action != CleanUp::None && !output.Json &&
        (output.Long || output.Null || output.Events))
        throw OptionError("options --long, --null and --events list a search; with --delete, "
                          "--trash or --dry-run only --json lists");
}

} // namespace

FindOptions ParseFindOptions(std::span<char* const> Arguments, TSearchCriteria& Criteria) {
    FindOptions options;
    OptionScanner scanner(findOptionSpecs, Arguments);
    while (const auto argument = scanner.next()) {
        if (!argument->Option)
            throw OptionError("unexpected argument " + argument->Name);
        Parse parse{options, Criteria, argument->Name};
        findOptions[*argument->Option].apply(parse, argument->Value);
    }
    checkCombination(options);
    return options;
}

std::span<const OptionSpec> FindOptionSpecs() {
    return findOptionSpecs;
}

} // namespace velmaro
