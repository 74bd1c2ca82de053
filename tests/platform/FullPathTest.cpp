// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FullPath.h"

#include <gtest/gtest.h>
#include <unistd.h>

using velmaro::platform::FullPathName;

namespace {

std::string currentFolder() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? buffer : "";
}

TEST(FullPathName, TidiesAbsolutePathsByTheirText) {
    struct Case {
        const char* path;
        const char* full;
    } const cases[] = {
        {"/", "/"},
        {"/tmp/x", "/tmp/x"},
        {"/tmp/x/", "/tmp/x/"},
        {"//tmp///x//", "/tmp/x/"},
        {"/tmp/./x/.", "/tmp/x"},
        {"/tmp/a/../x/", "/tmp/x/"},
        {"/../../tmp", "/tmp"},
        {"/tmp/..", "/"},
        {"/tmp/\xE4\xE0\xED\xED\xFB\xE5 \x01/", "/tmp/\xE4\xE0\xED\xED\xFB\xE5 \x01/"},
        {"/tmp/...", "/tmp/..."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FullPathName(c.path), c.full) << c.path;
}

TEST(FullPathName, TakesRelativePathsAgainstTheCurrentFolder) {
    const std::string cwd = currentFolder();
    ASSERT_FALSE(cwd.empty());
    const std::string below = cwd == "/" ? "/" : cwd + "/";
    EXPECT_EQ(FullPathName("Temp"), below + "Temp");
    EXPECT_EQ(FullPathName("Temp/"), below + "Temp/");
    EXPECT_EQ(FullPathName("./a/../Temp"), below + "Temp");
    EXPECT_EQ(FullPathName(""), cwd);
    EXPECT_EQ(FullPathName("."), cwd);
}

} // namespace
