// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/MaskSet.h"

#include "cleaner/JunkCatalogue.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>
#include <string>

namespace velmaro {
namespace {

// The set's quick rejections must never change an answer: it agrees with every mask run alone.
TEST(MaskSetTest, AgreesWithEachMaskOnItsOwn) {
    TStringList masks;
    for (const std::string_view mask : junkMasks(JunkSelection::All))
        masks.Add(mask);
    for (const char* mask : {"*.", "abc.", "*.*", "x?z", "*a.b*", "", "...", "Ab?.TXT", "*.d."})
        masks.Add(mask);
    for (int i = 0; i < 30; ++i) // more than one group of 64
        masks.Add("*." + std::to_string(i));

    const char* const names[] = {
        "a.tmp", "A.TMP",   "x.log",      "x.log1",     "x.logs",    "~abc",
        "~a.b",  "chklist", "CHKLIST.MS", "chklist.ms", "thumbs.db", "a.b$",
        "a.bb$", "a.$b$",   "a.~mp",      "README",     "abc",       "abc.",
        "xyz",   "Abc.txt", "a.d",        "file.17",    "file.29",   "mscreate.dir",
        "a._mp", "q.^",     "errlog.txt", "LOG.TXT",    ".log",      "no_dot_here",
    };
    platform::CodePage::select("UTF-8");
    MaskSet set;
    set.assign(masks);
    ASSERT_EQ(set.groupCount(), 2u);
    for (const char* name : names) {
        for (int i = 0; i < masks.Count(); ++i) {
            const platform::EnumerationMask alone(masks.Items(i));
            const std::uint64_t bits = set.matches(i / MaskSet::GroupSize, name);
            const bool inSet = (bits >> (i % MaskSet::GroupSize)) & 1;
            EXPECT_EQ(inSet, alone.matches(name)) << "name " << name << ", mask " << masks.Items(i);
        }
    }
}

} // namespace
} // namespace velmaro
