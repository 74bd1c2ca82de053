#include "cli/FindOptions.h"

#include "cli/TimeArgument.h"
#include "engine/CleanerPreset.h"
#include "engine/FindFile.h"
#include "workflow/JunkCatalogue.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

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

// Walks the argument list; an option's value is the rest of "--option=value" or the next
// argument.
class ArgumentReader {
public:
    explicit ArgumentReader(std::span<char* const> arguments) : m_arguments(arguments) {}

    bool done() const { return m_next >= m_arguments.size(); }

    // The next option's name; its attached value (after "=") is kept for value().
    std::string_view nextOption() {
        std::string_view argument = m_arguments[m_next++];
        m_attached.reset();
        if (argument.starts_with("--")) {
            const auto equals = argument.find('=');
            if (equals != std::string_view::npos) {
                m_attached = argument.substr(equals + 1);
                argument = argument.substr(0, equals);
            }
        }
        m_option = argument;
        return argument;
    }

    std::string_view value() {
        if (m_attached)
            return *std::exchange(m_attached, std::nullopt);
        if (done())
            throw OptionError("option " + std::string(m_option) + " needs a value");
        return m_arguments[m_next++];
    }

    // An option that takes no value must not be given one.
    void noValue() const {
        if (m_attached)
            throw OptionError("option " + std::string(m_option) + " takes no value");
    }

    [[noreturn]] void badValue(std::string_view value) const {
        throw OptionError("invalid value '" + std::string(value) + "' for option " +
                          std::string(m_option));
    }

private:
    std::span<char* const> m_arguments;
    std::size_t m_next = 0;
    std::string_view m_option;
    std::optional<std::string_view> m_attached;
};

template <typename Integer>
Integer parseInteger(ArgumentReader& reader, std::string_view text) {
    Integer value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        reader.badValue(text);
    return value;
}

void applyAttribute(ArgumentReader& reader, std::string_view text, TAttributesCriteria& criteria) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        reader.badValue(text);
    const auto name = text.substr(0, equals);
    const auto status = text.substr(equals + 1);
    const auto* attribute = std::find_if(attributeNames.begin(), attributeNames.end(),
                                         [&](const AttributeName& a) { return a.name == name; });
    const auto* state = std::find_if(statusNames.begin(), statusNames.end(),
                                     [&](const StatusName& s) { return s.name == status; });
    if (attribute == attributeNames.end() || state == statusNames.end())
        reader.badValue(text);
    criteria.Set(attribute->index, state->status);
}

TDateTime parseTime(ArgumentReader& reader, std::string_view text) {
    const auto value = ParseTimeArgument(text);
    if (!value)
        reader.badValue(text);
    return *value;
}

void setContentOption(TContentCriteria& content, TContentSearchOption option) {
    TContentSearchOptions options = content.Options();
    options.Include(option);
    content.SetOptions(options);
}

} // namespace

FindOptions ParseFindOptions(std::span<char* const> Arguments, TSearchCriteria& Criteria) {
    FindOptions options;
    ArgumentReader reader(Arguments);
    TFileCriteria& files = Criteria.Files();
    TDateTimeCriteria& times = Criteria.TimeStamp();
    while (!reader.done()) {
        const std::string_view option = reader.nextOption();
        if (option == "-h" || option == "--help") {
            options.Help = true;
        } else if (option == "-n" || option == "--name") {
            files.SetFileName(reader.value());
        } else if (option == "-l" || option == "--location") {
            files.SetLocation(reader.value());
        } else if (option == "-p" || option == "--path") {
            files.Paths().Add(reader.value());
        } else if (option == "-f" || option == "--filter") {
            files.Filters().Add(reader.value());
        } else if (option == "--no-subfolders") {
            reader.noValue();
            files.SetSubfolders(false);
        } else if (option == "--min-level") {
            files.SetMinLevel(parseInteger<std::uint16_t>(reader, reader.value()));
        } else if (option == "--max-level") {
            files.SetMaxLevel(parseInteger<std::uint16_t>(reader, reader.value()));
        } else if (option == "-a" || option == "--attr") {
            applyAttribute(reader, reader.value(), Criteria.Attributes());
        } else if (option == "--size-min") {
            Criteria.Size().SetMin(parseInteger<std::int64_t>(reader, reader.value()));
        } else if (option == "--size-max") {
            Criteria.Size().SetMax(parseInteger<std::int64_t>(reader, reader.value()));
        } else if (option == "--created-before") {
            times.SetCreatedBefore(parseTime(reader, reader.value()));
        } else if (option == "--created-after") {
            times.SetCreatedAfter(parseTime(reader, reader.value()));
        } else if (option == "--modified-before") {
            times.SetModifiedBefore(parseTime(reader, reader.value()));
        } else if (option == "--modified-after") {
            times.SetModifiedAfter(parseTime(reader, reader.value()));
        } else if (option == "--accessed-before") {
            times.SetAccessedBefore(parseTime(reader, reader.value()));
        } else if (option == "--accessed-after") {
            times.SetAccessedAfter(parseTime(reader, reader.value()));
        } else if (option == "--phrase") {
            Criteria.Content().SetPhrase(std::string(reader.value()));
        } else if (option == "--case-sensitive") {
            reader.noValue();
            setContentOption(Criteria.Content(), csoCaseSensitive);
        } else if (option == "--whole-word") {
            reader.noValue();
            setContentOption(Criteria.Content(), csoWholeWord);
        } else if (option == "--negate") {
            reader.noValue();
            setContentOption(Criteria.Content(), csoNegate);
        } else if (option == "--threaded") {
            reader.noValue();
            options.Threaded = true;
        } else if (option == "--readers") {
            const std::string_view text = reader.value();
            options.Readers = parseInteger<std::size_t>(reader, text);
            if (*options.Readers > TFindFile::MaxReaders)
                reader.badValue(text);
        } else if (option == "--catalogue") {
            const std::string_view which = reader.value();
            if (which != "recommended" && which != "all")
                reader.badValue(which);
            files.SetFileName(
                junkMaskString(which == "all" ? JunkSelection::All : JunkSelection::Recommended));
        } else if (option == "--cleaner") {
            reader.noValue();
            ApplyCleanerPreset(Criteria);
        } else if (option == "--long") {
            reader.noValue();
            options.Output.Long = true;
        } else if (option == "-0" || option == "--null") {
            reader.noValue();
            options.Output.Null = true;
        } else if (option == "--events") {
            reader.noValue();
            options.Output.Events = true;
        } else if (!option.starts_with("-")) {
            throw OptionError("unexpected argument " + std::string(option));
        } else {
            throw OptionError("unknown option " + std::string(option));
        }
    }
    return options;
}

} // namespace velmaro
