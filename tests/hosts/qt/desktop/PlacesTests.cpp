#include <gtest/gtest.h>

#include "hosts/qt/desktop/DesktopPicture.h"
#include "hosts/qt/desktop/Places.h"
#include "support/TemporaryFolder.h"

using namespace qthost;

TEST(Places, DefaultsAndCacheFollowTheXdgFolders) {
    EXPECT_EQ(defaultsDirectory("/home/ann/conf", "/home/ann"), "/home/ann/conf/awning");
    EXPECT_EQ(defaultsDirectory("relative/conf", "/home/ann"), "/home/ann/.config/awning");
    EXPECT_EQ(defaultsDirectory("", "/home/ann"), "/home/ann/.config/awning");
    EXPECT_EQ(defaultsDirectory(nullptr, "/home/ann"), "/home/ann/.config/awning");
    EXPECT_EQ(cacheHome("/home/ann/cache", "/home/ann"), "/home/ann/cache");
    EXPECT_EQ(cacheHome("relative/cache", "/home/ann"), "/home/ann/.cache");
    EXPECT_EQ(cacheHome(nullptr, nullptr), "/.cache");
}

TEST(Places, TheBundleIsConfiguredBesideTheExecutableOrInstalled) {
    TemporaryFolder folder;
    const std::filesystem::path build = folder.path() / "build";
    const std::filesystem::path prefix = folder.path() / "prefix";
    EXPECT_EQ(bundleDirectoryCandidates(nullptr, build, "/usr/share"),
              (std::vector<std::filesystem::path>{build / "resources", folder.path() / "share" / "awning",
                                                  "/usr/share/awning"}));
    EXPECT_EQ(bundleDirectoryCandidates("/opt/bundle", build, "/usr/share"),
              std::vector<std::filesystem::path>{"/opt/bundle"});
    EXPECT_EQ(bundleDirectoryCandidates("", "", "/usr/share"),
              std::vector<std::filesystem::path>{"/usr/share/awning"});

    EXPECT_EQ(bundleDirectory("/opt/bundle", build, "/usr/share"), "/opt/bundle");
    EXPECT_EQ(bundleDirectory(nullptr, build, "/usr/share"), "/usr/share/awning") << "nothing is anywhere";
    folder.write("build/resources/Credits.txt", "x");
    EXPECT_EQ(bundleDirectory(nullptr, build, "/usr/share"), "/usr/share/awning")
        << "a folder without the bundle's information is no bundle";
    folder.write("build/resources/Info.plist", "<plist/>");
    EXPECT_EQ(bundleDirectory(nullptr, build, "/usr/share"), build / "resources");
    folder.write("prefix/share/awning/Info.plist", "<plist/>");
    EXPECT_EQ(bundleDirectory(nullptr, prefix / "bin", "/usr/share"), prefix / "share" / "awning");
}

TEST(Places, TheInstanceSocketIsPerUserInTheRuntimeFolderElseInFoldersOfItsOwn) {
    const auto folders = instanceSocketFolders("/run/user/1000", "/tmp", "/home/ann/.cache", 1000);
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0].path, "/run/user/1000");
    EXPECT_FALSE(folders[0].ours) << "the desktop's folder is never made or narrowed";
    EXPECT_EQ(folders[1].path, "/tmp/awning-1000");
    EXPECT_TRUE(folders[1].ours);
    EXPECT_EQ(folders[2].path, "/home/ann/.cache/awning");
    EXPECT_TRUE(folders[2].ours);
    const auto unset = instanceSocketFolders("", "/tmp", "/home/bo/.cache", 1001);
    ASSERT_EQ(unset.size(), 2u);
    EXPECT_EQ(unset[0].path, "/tmp/awning-1001");
    EXPECT_EQ(instanceSocketName(1001), "awning-1001.socket");
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
