// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/DriveTitle.h"

#include <gtest/gtest.h>

using velmaro::driveTitlePrefix;
using velmaro::platform::DriveKind;

namespace {

TEST(DriveTitleTest, PrefixesAreExactUtf8WithTrailingBlank) {
    // "Локальный диск " and "Съёмный диск " byte for byte (ё is U+0451).
    EXPECT_EQ(driveTitlePrefix(DriveKind::Fixed),
              "\xD0\x9B\xD0\xBE\xD0\xBA\xD0\xB0\xD0\xBB\xD1\x8C\xD0\xBD\xD1\x8B\xD0\xB9 "
              "\xD0\xB4\xD0\xB8\xD1\x81\xD0\xBA ");
    EXPECT_EQ(driveTitlePrefix(DriveKind::Removable),
              "\xD0\xA1\xD1\x8A\xD1\x91\xD0\xBC\xD0\xBD\xD1\x8B\xD0\xB9 "
              "\xD0\xB4\xD0\xB8\xD1\x81\xD0\xBA ");
}

} // namespace
