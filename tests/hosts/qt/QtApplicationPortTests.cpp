#include <gtest/gtest.h>

#include <filesystem>

#include "hosts/qt/QtApplicationPort.h"
#include "support/TemporaryFolder.h"

namespace {

TEST(QtApplicationPortTest, FindsTheProcessesRunningAnExecutable) {
    TemporaryFolder proc;
    const auto process = [&](const std::string& name, const std::filesystem::path& executable) {
        std::filesystem::create_directory(proc.path() / name);
        std::filesystem::create_symlink(executable, proc.path() / name / "exe");
    };
    process("123", "/opt/awning/bin/awning");
    process("456", "/usr/bin/other");
    process("12a", "/opt/awning/bin/awning");
    process("self", "/opt/awning/bin/awning");
    std::filesystem::create_directory(proc.path() / "789");  // gone, or another user's: no readable link
    EXPECT_EQ(qthost::processesRunning("/opt/awning/bin/awning", proc.path()),
              std::vector<std::int64_t>{123});
    EXPECT_TRUE(qthost::processesRunning("/opt/awning/bin/awning", proc.path() / "missing").empty());
}

}  // namespace
