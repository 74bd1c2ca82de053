// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/CleanerPreset.h"

#include "engine/CharTables.h"
#include "engine/SearchRecorder.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace velmaro {
namespace {

using testing::SearchRecorder;
using velmaro::test::TempFolder;

// The desktop's trash, in the home folder and on a drive, is left to the desktop; folders and
// files that only look like it are cleaned as usual.
TEST(CleanerPresetTest, TheDesktopsTrashIsNeverListed) {
    BuildCharTables();
    TempFolder tree;
    for (const char* folder :
         {"home", "home/u", "home/u/.local", "home/u/.local/share", "home/u/.local/share/Trash",
          "home/u/.local/share/Trash/files", "home/u/.local/share/Trash/files/sub",
          "home/u/.local/share/app", "home/u/Trash", "media", "media/usb", "media/usb/.Trash-1000",
          "media/usb/.Trash-1000/files", "media/usb/.Trashcan"})
        tree.folder(folder);
    for (const char* file :
         {"home/u/.local/share/Trash/files/old.tmp", "home/u/.local/share/Trash/files/sub/x.tmp",
          "media/usb/.Trash-1000/files/b.tmp", "home/u/.local/share/app/c.tmp",
          "home/u/.local/share/Trash.tmp", "home/u/Trash/d.tmp", "media/usb/.Trashcan/e.tmp"})
        tree.file(file);

    SearchRecorder search(tree.root(), testing::WalkMode{});
    ApplyCleanerPreset(search.criteria());
    search.criteria().Files().SetLocation(">" + tree.root());
    search.criteria().Files().SetFileName("*.tmp");
    search.run();
    std::vector<std::string> matches = search.events("match ");
    std::sort(matches.begin(), matches.end());
    EXPECT_EQ(matches, (std::vector<std::string>{"match home/u/.local/share/Trash.tmp",
                                                 "match home/u/.local/share/app/c.tmp",
                                                 "match home/u/Trash/d.tmp",
                                                 "match media/usb/.Trashcan/e.tmp"}));
}

} // namespace
} // namespace velmaro
