#include <gtest/gtest.h>

#include "hosts/qt/desktop/DesktopPicture.h"
#include "hosts/qt/desktop/Places.h"

using namespace qthost;

TEST(Places, DefaultsFollowTheXdgConfigurationFolder) {
    EXPECT_EQ(defaultsDirectory("/home/ann/conf", "/home/ann"), "/home/ann/conf/awning");
    EXPECT_EQ(defaultsDirectory("relative/conf", "/home/ann"), "/home/ann/.config/awning");
    EXPECT_EQ(defaultsDirectory("", "/home/ann"), "/home/ann/.config/awning");
    EXPECT_EQ(defaultsDirectory(nullptr, "/home/ann"), "/home/ann/.config/awning");
}

TEST(Places, TheBundleIsConfiguredBesideTheExecutableOrInstalled) {
    const std::filesystem::path build = testing::TempDir() + "places-build";
    std::filesystem::create_directories(build / "resources");
    EXPECT_EQ(bundleDirectory("/opt/bundle", build, "/usr/share"), "/opt/bundle");
    EXPECT_EQ(bundleDirectory(nullptr, build, "/usr/share"), build / "resources");
    EXPECT_EQ(bundleDirectory("", build / "resources", "/usr/share"), "/usr/share/awning");
    const std::filesystem::path prefix = testing::TempDir() + "places-prefix";
    std::filesystem::create_directories(prefix / "share" / "awning");
    EXPECT_EQ(bundleDirectory(nullptr, prefix / "bin", "/usr/share"), prefix / "share" / "awning");
    std::filesystem::remove_all(build);
    std::filesystem::remove_all(prefix);
}

TEST(Places, TheInstanceSocketIsPerUser) {
    EXPECT_EQ(instanceSocketPath("/run/user/1000", "/tmp", 1000), "/run/user/1000/awning-1000.socket");
    EXPECT_EQ(instanceSocketPath(nullptr, "/tmp", 1001), "/tmp/awning-1001/awning-1001.socket");
}

TEST(Places, LanguagesAreLowerCaseCodesInOrder) {
    EXPECT_EQ(languageCodes({"de-CH", "de", "en-US", "EN"}), (std::vector<std::string>{"de", "en"}));
    EXPECT_EQ(languageCodes({"pt_BR.UTF-8"}), (std::vector<std::string>{"pt"}));
    EXPECT_EQ(languageCodes({"C"}), (std::vector<std::string>{"en"}));
    EXPECT_EQ(languageCodes({}), (std::vector<std::string>{"en"}));
}

TEST(DesktopPicture, TheDesktopNamesWhereItsPictureIsKept) {
    const auto gnome = DesktopPicture::settingFor("ubuntu:GNOME");
    ASSERT_TRUE(gnome);
    EXPECT_EQ(gnome->schema, "org.gnome.desktop.background");
    EXPECT_EQ(gnome->darkKey, "picture-uri-dark");
    EXPECT_EQ(DesktopPicture::settingFor("X-Cinnamon")->schema, "org.cinnamon.desktop.background");
    EXPECT_TRUE(DesktopPicture::settingFor("MATE")->holdsPath);
    EXPECT_EQ(DesktopPicture::settingFor("XFCE:Budgie"), DesktopPicture::settingFor("GNOME"));
    EXPECT_FALSE(DesktopPicture::settingFor("XFCE"));
    EXPECT_FALSE(DesktopPicture::settingFor(""));
    EXPECT_FALSE(DesktopPicture("KDE").url());
}
