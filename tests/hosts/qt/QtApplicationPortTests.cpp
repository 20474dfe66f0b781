#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "hosts/qt/QtApplicationPort.h"
#include "support/TemporaryFolder.h"

namespace {

using namespace std::string_literals;

// A /proc of its own: each process an executable link, a status file and the environment it started with.
class FakeProc {
public:
    void process(const std::string& name, const std::filesystem::path& executable, unsigned user = 1000,
                 const std::string& environment = "HOME=/home/ann\0XDG_RUNTIME_DIR=/run/user/1000\0DISPLAY=:0\0"s) {
        std::filesystem::create_directory(_folder.path() / name);
        std::filesystem::create_symlink(executable, _folder.path() / name / "exe");
        _folder.write(name + "/status", "Name:\tawning\nUmask:\t0022\nState:\tS (sleeping)\nUid:\t" +
                                            std::to_string(user) + "\t0\t0\t0\nGid:\t100\t100\t100\t100\n");
        _folder.write(name + "/environ", environment);
    }
    const std::filesystem::path& path() const { return _folder.path(); }

private:
    TemporaryFolder _folder;
};

const std::filesystem::path awning = "/opt/awning/bin/awning";

}  // namespace

// Only instances of this user in this session are waited for: another user's, another login's or another
// test desktop's Awning must not stop a relaunch.
TEST(QtApplicationPortTest, FindsTheInstancesOfThisUserInThisSession) {
    FakeProc proc;
    proc.process("self", awning);
    proc.process("123", awning);
    proc.process("124", awning, 1000, "DISPLAY=:0\0XDG_RUNTIME_DIR=/run/user/1000\0PATH=/bin\0"s);
    proc.process("200", "/usr/bin/other");
    proc.process("12a", awning);
    proc.process("300", awning, 1001);
    proc.process("400", awning, 1000, "XDG_RUNTIME_DIR=/run/user/1000\0DISPLAY=:1\0"s);
    proc.process("401", awning, 1000, "XDG_RUNTIME_DIR=/tmp/desktop-2/runtime\0DISPLAY=:0\0"s);
    proc.process("402", awning, 1000, "XDG_RUNTIME_DIR=/run/user/1000\0DISPLAY=:0\0WAYLAND_DISPLAY=wayland-0\0"s);
    proc.process("403", awning, 1000, "XDG_RUNTIME_DIR=/run/user/1000\0"s);
    std::filesystem::create_directory(proc.path() / "789");  // gone, or another user's: nothing readable
    std::vector<std::int64_t> found = qthost::processesRunning(awning, proc.path());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::int64_t>{123, 124}));
    EXPECT_TRUE(qthost::processesRunning(awning, proc.path() / "missing").empty());
    EXPECT_TRUE(qthost::processesRunning(awning, proc.path(), "789").empty()) << "no session of our own to match";
}
