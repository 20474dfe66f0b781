#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "hosts/qt/desktop/Autostart.h"
#include "support/TemporaryFolder.h"

namespace {

std::string contents(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string execLine(const std::string& executable) {
    std::istringstream entry(qthost::Autostart::entryText(executable));
    for (std::string line; std::getline(entry, line);) {
        if (line.rfind("Exec=", 0) == 0) {
            return line.substr(5);
        }
    }
    return {};
}

}  // namespace

TEST(AutostartTest, TheEntryComesAndGoesInTheAutostartFolder) {
    TemporaryFolder config;
    const qthost::Autostart autostart(config.path(), "/usr/local/bin/awning");
    EXPECT_EQ(autostart.entryPath(), config.path() / "autostart" / "awning.desktop");
    EXPECT_FALSE(autostart.isEnabled());

    std::string error;
    ASSERT_TRUE(autostart.setEnabled(true, error)) << error;
    EXPECT_TRUE(autostart.isEnabled());
    EXPECT_EQ(contents(autostart.entryPath()), qthost::Autostart::entryText("/usr/local/bin/awning"));
    ASSERT_TRUE(autostart.setEnabled(false, error)) << error;
    EXPECT_FALSE(std::filesystem::exists(autostart.entryPath()));
    EXPECT_TRUE(autostart.setEnabled(false, error)) << "removing what is not there is no failure";

    // The user switched the entry off in the desktop's own settings.
    std::ofstream(autostart.entryPath()) << "[Desktop Entry]\nHidden=true\n";
    EXPECT_FALSE(autostart.isEnabled());
}

// The box reads the entry at every showing of the settings window: a FIFO or a device must not stall it,
// and switching the box on replaces whatever is there.
TEST(AutostartTest, AnEntryThatIsNoRegularFileReadsAsOffAndIsReplaced) {
    TemporaryFolder config;
    const qthost::Autostart autostart(config.path(), "/usr/bin/awning");
    std::filesystem::create_directories(autostart.entryPath().parent_path());
    for (const bool fifo : {true, false}) {
        if (fifo) {
            ASSERT_EQ(mkfifo(autostart.entryPath().c_str(), 0600), 0);
        } else {
            std::filesystem::create_symlink("/dev/zero", autostart.entryPath());
        }
        EXPECT_FALSE(autostart.isEnabled());
        std::string error;
        ASSERT_TRUE(autostart.setEnabled(true, error)) << error;
        EXPECT_TRUE(autostart.isEnabled());
        EXPECT_EQ(contents(autostart.entryPath()), qthost::Autostart::entryText("/usr/bin/awning"));
        std::filesystem::remove(autostart.entryPath());
    }
}

TEST(AutostartTest, AnUnwritableFolderIsAFailureWithAReason) {
    TemporaryFolder config;
    std::ofstream(config.path() / "autostart") << "a file where the folder should be";
    const qthost::Autostart autostart(config.path(), "/usr/bin/awning");
    std::string error;
    EXPECT_FALSE(autostart.setEnabled(true, error));
    EXPECT_NE(error.find((config.path() / "autostart").string()), std::string::npos) << error;
    EXPECT_FALSE(autostart.isEnabled());
}

TEST(AutostartTest, ExecQuotesPathsThatNeedIt) {
    const struct {
        const char* path;
        const char* exec;
    } cases[] = {
        {"/usr/bin/awning", "/usr/bin/awning"},
        {"/home/ann/My Apps/awning", "\"/home/ann/My Apps/awning\""},
        {"/opt/$x/awning", "\"/opt/\\\\$x/awning\""},
        {"/opt/a\\b/awning", "\"/opt/a\\\\\\\\b/awning\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(execLine(c.path), c.exec) << c.path;
    }
}
