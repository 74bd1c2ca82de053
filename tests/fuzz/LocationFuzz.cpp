// SPDX-License-Identifier: GPL-3.0-or-later
// Location strings from the input: the first line is the file-name masks, the second the
// locations, each further line a path entry. Every target built is an absolute folder ending
// in "/" with at least one mask, and no two targets share a folder.

#include "FuzzCheck.h"
#include "engine/FileCriteria.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

using namespace velmaro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    TFileCriteria criteria;
    for (int line = 0; !text.empty(); ++line) {
        const std::size_t end = text.find('\n');
        const std::string_view entry = text.substr(0, end);
        if (line == 0)
            criteria.SetFileName(entry);
        else if (line == 1)
            criteria.SetLocation(entry);
        else
            criteria.Paths().Add(entry);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    TTargetPaths& targets = criteria.TargetPaths();
    std::set<std::string> folders;
    for (int i = 0; i < targets.Count(); ++i) {
        const TTargetPath& target = targets.Items(i);
        FUZZ_CHECK(!target.Folder.empty() && target.Folder.front() == '/' &&
                       target.Folder.back() == '/',
                   "a target folder that is not absolute or does not end in /");
        FUZZ_CHECK(target.Masks.Count() > 0, "a target without a mask");
        FUZZ_CHECK(folders.insert(target.Folder).second, "two targets share a folder");
    }
    return 0;
}
