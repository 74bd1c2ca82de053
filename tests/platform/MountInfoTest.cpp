// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/MountInfo.h"

#include <gtest/gtest.h>

using velmaro::platform::decodeMountInfoField;
using velmaro::platform::MountInfoEntry;
using velmaro::platform::parseMountInfoLine;

namespace {

TEST(MountInfoTest, DecodesOctalEscapes) {
    const struct {
        std::string field, decoded;
    } cases[] = {
        {"/media/My\\040Disk", "/media/My Disk"},
        {"/a\\011b\\012c\\134d", "/a\tb\nc\\d"},
        {"/x\\377", "/x\xFF"},
        {"\\040\\040", "  "},
        {"/not\\x40", "/not\\x40"},   // not octal
        {"/short\\04", "/short\\04"}, // cut off at the end
        {"/big\\400", "/big\\400"},   // above one byte
        {"/tail\\", "/tail\\"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeMountInfoField(c.field), c.decoded) << c.field;
    }
}

TEST(MountInfoTest, ParsesFieldsAroundOptionalTags) {
    const std::optional<MountInfoEntry> entry = parseMountInfoLine(
        "36 35 98:0 /mnt1 /mnt\\0402 rw,noatime master:1 shared:7 - ext3 /dev/root "
        "rw,errors=continue");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->device, "98:0");
    EXPECT_EQ(entry->root, "/mnt1");
    EXPECT_EQ(entry->mountPoint, "/mnt 2");
    EXPECT_EQ(entry->fsType, "ext3");
    EXPECT_EQ(entry->source, "/dev/root");
    EXPECT_FALSE(entry->readOnly);
}

TEST(MountInfoTest, ReadOnlyMountOrFileSystem) {
    const struct {
        std::string line;
        bool readOnly;
    } cases[] = {
        {"1 0 8:1 / /a ro,relatime - ext4 /dev/sda1 rw", true},
        {"1 0 8:1 / /a rw,relatime - ext4 /dev/sda1 ro,data=ordered", true},
        {"1 0 8:1 / /a rw,relatime - ext4 /dev/sda1 rw,errors=remount-ro", false},
        {"1 0 8:1 / /a rw,nosuid - vfat /dev/sda1 rw,iocharset=ro", false},
    };
    for (const auto& c : cases) {
        const std::optional<MountInfoEntry> entry = parseMountInfoLine(c.line);
        ASSERT_TRUE(entry) << c.line;
        EXPECT_EQ(entry->readOnly, c.readOnly) << c.line;
    }
}

TEST(MountInfoTest, RejectsLinesWithoutTheLayout) {
    for (const char* line : {"", "1 0 8:1 / /a rw", "1 0 8:1 / /a rw ext4 /dev/sda1 rw",
                             "1 0 8:1 / /a rw - ext4 /dev/sda1", "1 0 8:1 / - ext4 /dev/sda1 rw"}) {
        EXPECT_FALSE(parseMountInfoLine(line)) << line;
    }
}

} // namespace
