// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ListingFilter.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmaro {
namespace {

using platform::FolderListing;

// The listing's verdict may only save stat calls: whatever the full attribute test accepts,
// the listing must let through. It should also reject what it can tell, or it saves nothing.
TEST(ListingFilterTest, NeverRejectsAnEntryTheAttributeTestAccepts) {
    test::TempFolder tree;
    tree.file("plain.tmp");
    tree.file(".hidden.tmp");
    tree.file("readonly.tmp");
    chmod(tree.path("readonly.tmp").c_str(), 0444);
    tree.folder("folder");
    tree.folder(".hiddenfolder");
    tree.link("plain.tmp", "filelink");
    tree.link("folder", "folderlink");
    ASSERT_EQ(mkfifo(tree.path("fifo").c_str(), 0644), 0);

    FolderListing listing;
    ASSERT_TRUE(listing.open(tree.root()));
    const int indexes[] = {TAttributesCriteria::idxReadonly,    TAttributesCriteria::idxHidden,
                           TAttributesCriteria::idxSystem,      TAttributesCriteria::idxDirectory,
                           TAttributesCriteria::idxArchive,     TAttributesCriteria::idxDevice,
                           TAttributesCriteria::idxReparsePoint};
    int rejected = 0;
    for (const int index : indexes) {
        for (const TFileAttributeStatus status : {fsIgnore, fsSet, fsUnset, fsAnySet, fsAnyUnset}) {
            TAttributesCriteria criteria;
            criteria.Clear();
            criteria.Set(index, status);
            ListingFilter filter;
            filter.reset(criteria);
            for (std::size_t i = 0; i < listing.count(); ++i) {
                platform::FindData data;
                ASSERT_TRUE(listing.describe(i, data));
                const bool mayPass = filter.mayPass(listing.name(i), listing.kind(i));
                EXPECT_TRUE(mayPass || !criteria.Matches(data.dwFileAttributes))
                    << listing.name(i) << " index " << index << " status " << int(status);
                rejected += !mayPass;
            }
        }
    }
    EXPECT_GT(rejected, 0);
}

TEST(ListingFilterTest, RejectsFoldersAndHiddenEntriesOfANewCriteriaByTheirListingAlone) {
    const TAttributesCriteria criteria;
    ListingFilter filter;
    filter.reset(criteria);
    EXPECT_TRUE(filter.mayPass("a.tmp", FolderListing::EntryKind::File));
    EXPECT_TRUE(filter.mayPass("a.tmp", FolderListing::EntryKind::Unknown));
    EXPECT_FALSE(filter.mayPass("sub", FolderListing::EntryKind::Directory));
    EXPECT_FALSE(filter.mayPass(".a.tmp", FolderListing::EntryKind::File));
}

} // namespace
} // namespace velmaro
