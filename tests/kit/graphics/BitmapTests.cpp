#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "kit/graphics/Bitmap.h"

TEST(BitmapTest, PixelsReadUnpremultipliedAndPNGFilesAreWritten) {
    EXPECT_TRUE(kit::Bitmap(-3, 5).isEmpty());
    kit::Bitmap bitmap(3, 2);
    bitmap.pixels()[0] = 0x80400000;  // red at half intensity, half covered
    bitmap.pixels()[4] = 0x10FF0000;  // damaged: a channel above its alpha
    EXPECT_EQ(bitmap.pixel(0, 0), (kit::Bitmap::RGBA8{128, 0, 0, 128}));
    EXPECT_EQ(bitmap.pixel(1, 1), (kit::Bitmap::RGBA8{255, 0, 0, 16}));
    EXPECT_EQ(bitmap.pixel(3, 0), (kit::Bitmap::RGBA8{0, 0, 0, 0}));
    EXPECT_EQ(bitmap.pixel(0, -1), (kit::Bitmap::RGBA8{0, 0, 0, 0}));

    const auto file =
        std::filesystem::temp_directory_path() / ("awning-bitmap-" + std::to_string(getpid()) + ".png");
    ASSERT_TRUE(bitmap.writePNG(file));
    std::string signature(8, '\0');
    std::ifstream(file, std::ios::binary).read(signature.data(), 8);
    std::filesystem::remove(file);
    EXPECT_EQ(signature, "\x89PNG\r\n\x1A\n");
    EXPECT_FALSE(kit::Bitmap().writePNG(file));
}
