#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "kit/foundation/URLLoading.h"
#include "support/TemporaryFolder.h"

using kit::URLLoadFailure;

namespace {

constexpr std::size_t limit = 16;

kit::URLLoadResult loadLocal(const std::string& address) {
    return kit::LocalURLLoadingPort::loadLocal({address, limit, 30.0});
}

}  // namespace

TEST(LocalURLLoading, ReadsOnlyRegularFilesUpToTheLimitAndNeverWaits) {
    TemporaryFolder folder;
    const std::string exact = folder.write("exact", std::string(limit, 'a')).string();
    const std::string over = folder.write("over", std::string(limit + 1, 'b')).string();
    const std::string spaced = folder.write("with space", "feed").string();
    const std::string sparse = folder.write("sparse", "").string();
    std::filesystem::resize_file(sparse, 50u << 20);
    const std::string device = (folder.path() / "zero").string();
    std::filesystem::create_symlink("/dev/zero", device);

    struct Case {
        const char* name;
        std::string address;
        std::optional<std::string> contents;
        URLLoadFailure failure;
    };
    const Case cases[] = {
        {"exactly the limit", exact, std::string(limit, 'a'), URLLoadFailure::None},
        {"a byte over the limit", over, std::nullopt, URLLoadFailure::TooLarge},
        {"a file: address with an escape", "file://" + folder.path().string() + "/with%20space", "feed",
         URLLoadFailure::None},
        {"50 MB, refused from its size", sparse, std::nullopt, URLLoadFailure::TooLarge},
        // Files of the kernel's own claim no size: the read itself must stop.
        {"no size given, longer than the limit", "/proc/self/maps", std::nullopt, URLLoadFailure::TooLarge},
        {"a link to an endless device", device, std::nullopt, URLLoadFailure::NotARegularFile},
        {"a missing file", folder.path().string() + "/missing", std::nullopt, URLLoadFailure::NotFound},
        {"below a file", exact + "/feed.xml", std::nullopt, URLLoadFailure::NotFound},
        {"a web address", "https://maker.example/feed.xml", std::nullopt, URLLoadFailure::UnsupportedAddress},
        {"another machine's file", "file://maker.example/feed.xml", std::nullopt,
         URLLoadFailure::UnsupportedAddress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const kit::URLLoadResult result = loadLocal(c.address);
        EXPECT_EQ(result.contents, c.contents);
        EXPECT_EQ(result.failure, c.failure);
        EXPECT_EQ(result.error.empty(), c.failure == URLLoadFailure::None) << result.error;
    }
}
