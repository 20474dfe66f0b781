#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "hosts/qt/desktop/Autostart.h"
#include "support/TemporaryFolder.h"

using qthost::Autostart;

TEST(AutostartTest, TheEntryComesAndGoesInTheAutostartFolder) {
    TemporaryFolder config;
    const Autostart autostart(config.path(), "/usr/local/bin/awning");
    EXPECT_EQ(autostart.entryPath(), config.path() / "autostart" / "awning.desktop");
    EXPECT_FALSE(autostart.isEnabled());

    std::string error;
    ASSERT_TRUE(autostart.setEnabled(true, error)) << error;
    EXPECT_TRUE(autostart.isEnabled());
    EXPECT_EQ(TemporaryFolder::read(autostart.entryPath()), Autostart::entryText("/usr/local/bin/awning"));
    ASSERT_TRUE(autostart.setEnabled(false, error)) << error;
    EXPECT_FALSE(std::filesystem::exists(autostart.entryPath()));
    EXPECT_TRUE(autostart.setEnabled(false, error)) << "removing what is not there is no failure";

    // The user switched the entry off in the desktop's own settings.
    std::ofstream(autostart.entryPath()) << "[Desktop Entry]\nHidden=true\n";
    EXPECT_FALSE(autostart.isEnabled());

    // The box reads the entry at every showing of the settings window: a FIFO or a device must not stall it,
    // and switching the box on replaces whatever is there.
    for (const bool fifo : {true, false}) {
        std::filesystem::remove(autostart.entryPath());
        if (fifo) {
            ASSERT_EQ(mkfifo(autostart.entryPath().c_str(), 0600), 0);
        } else {
            std::filesystem::create_symlink("/dev/zero", autostart.entryPath());
        }
        EXPECT_FALSE(autostart.isEnabled());
        ASSERT_TRUE(autostart.setEnabled(true, error)) << error;
        EXPECT_EQ(TemporaryFolder::read(autostart.entryPath()),
                  Autostart::entryText("/usr/local/bin/awning"));
    }
}

TEST(AutostartTest, AnUnwritableFolderIsAFailureWithAReason) {
    TemporaryFolder config;
    const std::filesystem::path file = config.write("autostart", "a file where the folder should be");
    const Autostart autostart(config.path(), "/usr/bin/awning");
    std::string error;
    EXPECT_FALSE(autostart.setEnabled(true, error));
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    EXPECT_FALSE(autostart.isEnabled());
}

TEST(AutostartTest, ExecQuotesPathsThatNeedIt) {
    const struct {
        const char* path;
        const char* exec;
    } cases[] = {
        {"/usr/bin/awning", "\nExec=/usr/bin/awning\n"},
        {"/home/ann/My Apps/awning", "\nExec=\"/home/ann/My Apps/awning\"\n"},
        {"/opt/$x/awning", "\nExec=\"/opt/\\\\$x/awning\"\n"},
        {"/opt/a\\b/awning", "\nExec=\"/opt/a\\\\\\\\b/awning\"\n"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(Autostart::entryText(c.path).find(c.exec), std::string::npos)
            << Autostart::entryText(c.path);
    }
}
