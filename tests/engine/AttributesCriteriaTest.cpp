// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/AttributesCriteria.h"

#include <gtest/gtest.h>

using namespace velmaro;

namespace {

struct MatchCase {
    std::uint32_t attributes;
    bool passes;
};

void expectMatches(const TAttributesCriteria& criteria, std::initializer_list<MatchCase> cases) {
    for (const MatchCase& c : cases)
        EXPECT_EQ(criteria.Matches(c.attributes), c.passes) << std::hex << c.attributes;
}

TEST(AttributesCriteria, NewObjectRejectsHiddenSystemAndFolders) {
    TAttributesCriteria criteria;
    EXPECT_EQ(criteria.UnsetMask(), 0x16u);
    EXPECT_EQ(criteria.Hidden(), fsUnset);
    EXPECT_EQ(criteria.System(), fsUnset);
    EXPECT_EQ(criteria.Directory(), fsUnset);
    EXPECT_EQ(criteria.Archive(), fsIgnore);
    expectMatches(
        criteria,
        {{0x20, true}, {0x1, true}, {0x21, true}, {0x22, false}, {0x24, false}, {0x10, false}});
}

TEST(AttributesCriteria, ClearLetsEverythingPass) {
    TAttributesCriteria criteria;
    criteria.SetArchive(fsSet);
    criteria.Clear();
    EXPECT_EQ(criteria.UnsetMask(), 0u);
    for (int index = 1; index <= 32; ++index)
        EXPECT_EQ(criteria.Get(index), fsIgnore) << index;
    expectMatches(criteria, {{0x0, true}, {0x10, true}, {0x16, true}, {0xFFFFFFFF, true}});
}

TEST(AttributesCriteria, DirectoryStatusDecidesWhetherFoldersAreReported) {
    TAttributesCriteria criteria;
    criteria.SetDirectory(fsIgnore);
    expectMatches(criteria, {{0x10, true}, {0x20, true}, {0x12, false}});
    criteria.SetDirectory(fsSet);
    expectMatches(criteria, {{0x10, true}, {0x30, true}, {0x20, false}});
}

TEST(AttributesCriteria, AnySetAndAnyUnsetFormGroups) {
    TAttributesCriteria any;
    any.Clear();
    any.SetHidden(fsAnySet);
    any.SetSystem(fsAnySet);
    expectMatches(any, {{0x2, true}, {0x4, true}, {0x6, true}, {0x20, false}});

    TAttributesCriteria anyUnset;
    anyUnset.Clear();
    anyUnset.SetReadonly(fsAnyUnset);
    anyUnset.SetHidden(fsAnyUnset);
    expectMatches(anyUnset, {{0x1, true}, {0x2, true}, {0x0, true}, {0x3, false}});
}

TEST(AttributesCriteria, SingleAnyStatusBehavesLikeItsPlainForm) {
    for (std::uint32_t attributes : {0x0u, 0x1u, 0x20u, 0x21u, 0x400u}) {
        TAttributesCriteria anySet, set, anyUnset, unset;
        for (TAttributesCriteria* c : {&anySet, &set, &anyUnset, &unset})
            c->Clear();
        anySet.SetReadonly(fsAnySet);
        set.SetReadonly(fsSet);
        anyUnset.SetReadonly(fsAnyUnset);
        unset.SetReadonly(fsUnset);
        EXPECT_EQ(anySet.Matches(attributes), set.Matches(attributes)) << attributes;
        EXPECT_EQ(anyUnset.Matches(attributes), unset.Matches(attributes)) << attributes;
    }
}

TEST(AttributesCriteria, WritingKeepsEachBitInOneMask) {
    TAttributesCriteria criteria;
    criteria.SetHidden(fsSet);
    EXPECT_EQ(criteria.Hidden(), fsSet);
    EXPECT_EQ(criteria.UnsetMask(), 0x14u);
    criteria.SetHidden(fsUnset);
    EXPECT_EQ(criteria.Hidden(), fsUnset);
    EXPECT_EQ(criteria.UnsetMask(), 0x16u);
    // Were bit 0x2 still in the set mask, a clear hidden bit would fail.
    EXPECT_TRUE(criteria.Matches(0x20));

    criteria.SetHidden(static_cast<TFileAttributeStatus>(5));
    EXPECT_EQ(criteria.Hidden(), fsIgnore);
    EXPECT_TRUE(criteria.Matches(0x22));
}

TEST(AttributesCriteria, EveryPropertyOwnsItsBit) {
    struct Property {
        TFileAttributeStatus (TAttributesCriteria::*get)() const;
        void (TAttributesCriteria::*set)(TFileAttributeStatus);
        std::uint32_t bit;
    } const properties[] = {
        {&TAttributesCriteria::Readonly, &TAttributesCriteria::SetReadonly, 0x1},
        {&TAttributesCriteria::Hidden, &TAttributesCriteria::SetHidden, 0x2},
        {&TAttributesCriteria::System, &TAttributesCriteria::SetSystem, 0x4},
        {&TAttributesCriteria::Directory, &TAttributesCriteria::SetDirectory, 0x10},
        {&TAttributesCriteria::Archive, &TAttributesCriteria::SetArchive, 0x20},
        {&TAttributesCriteria::Device, &TAttributesCriteria::SetDevice, 0x40},
        {&TAttributesCriteria::Normal, &TAttributesCriteria::SetNormal, 0x80},
        {&TAttributesCriteria::Temporary, &TAttributesCriteria::SetTemporary, 0x100},
        {&TAttributesCriteria::SparseFile, &TAttributesCriteria::SetSparseFile, 0x200},
        {&TAttributesCriteria::ReparsePoint, &TAttributesCriteria::SetReparsePoint, 0x400},
        {&TAttributesCriteria::Compressed, &TAttributesCriteria::SetCompressed, 0x800},
        {&TAttributesCriteria::Offline, &TAttributesCriteria::SetOffline, 0x1000},
        {&TAttributesCriteria::NotContentIndexed, &TAttributesCriteria::SetNotContentIndexed,
         0x2000},
        {&TAttributesCriteria::Encrypted, &TAttributesCriteria::SetEncrypted, 0x4000},
        {&TAttributesCriteria::Virtual, &TAttributesCriteria::SetVirtual, 0x10000},
    };
    for (const Property& p : properties) {
        TAttributesCriteria criteria;
        criteria.Clear();
        (criteria.*p.set)(fsUnset);
        EXPECT_EQ((criteria.*p.get)(), fsUnset) << std::hex << p.bit;
        EXPECT_EQ(criteria.UnsetMask(), p.bit);
        EXPECT_FALSE(criteria.Matches(p.bit));
        EXPECT_TRUE(criteria.Matches(~p.bit));
    }
}

TEST(AttributesCriteria, AssignCopiesTheMasks) {
    TAttributesCriteria source;
    source.SetReadonly(fsSet);
    source.SetArchive(fsAnySet);
    source.SetTemporary(fsAnySet);
    source.SetHidden(fsAnyUnset);
    source.SetDirectory(fsIgnore);
    TAttributesCriteria target;
    target.Assign(&source);
    for (int index = 1; index <= 32; ++index)
        EXPECT_EQ(target.Get(index), source.Get(index)) << index;
}

class OtherCriteria : public TCustomCriteria {
public:
    const char* ClassName() const override { return "TOtherCriteria"; }
    void Clear() override {}
};

TEST(AttributesCriteria, AssignFromAnotherClassFailsAndChangesNothing) {
    TAttributesCriteria target;
    OtherCriteria other;
    try {
        target.Assign(&other);
        FAIL() << "no error raised";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "Cannot assign a TOtherCriteria to a TAttributesCriteria");
    }
    EXPECT_THROW(target.Assign(nullptr), EConvertError);
    EXPECT_EQ(target.UnsetMask(), 0x16u);
}

} // namespace
