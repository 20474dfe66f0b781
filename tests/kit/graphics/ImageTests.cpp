#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "hosts/headless/HeadlessHost.h"
#include "kit/appkit/Application.h"
#include "kit/graphics/Image.h"
#include "support/TemporaryFolder.h"

using kit::Image;

TEST(ImageTest, NamedImagesComeFromTheBundleOncePerProcess) {
    TemporaryFolder bundle;
    kit::Bitmap pixels(3, 2);
    pixels.fill({255, 0, 0, 255});
    ASSERT_TRUE(pixels.writePNG(bundle.path() / "DotTemplate.png"));
    headless::HeadlessHost::Options options;
    options.bundleDirectory = bundle.path();
    auto host = std::make_unique<headless::HeadlessHost>(options);

    const auto image = Image::imageNamed("DotTemplate");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(), (kit::Size{3.0, 2.0}));
    EXPECT_TRUE(image->isTemplate());
    ASSERT_EQ(image->representations().size(), 1u);
    EXPECT_EQ(image->representations()[0].pixel(2, 1), (kit::Bitmap::RGBA8{255, 0, 0, 255}));
    EXPECT_EQ(Image::imageNamed("DotTemplate"), image) << "the same object on every call";
    EXPECT_EQ(Image::imageNamed("Missing"), nullptr);

    host = std::make_unique<headless::HeadlessHost>(options);
    EXPECT_NE(Image::imageNamed("DotTemplate"), image) << "a new process loads its own";

    // Anything the bundle holds under a picture's name that is no regular file is no picture, at once.
    ASSERT_EQ(mkfifo((bundle.path() / "Pipe.png").c_str(), 0600), 0);
    EXPECT_EQ(Image::imageNamed("Pipe"), nullptr);
}

// The application's icon is one SVG document: sized in points as the document says, drawn anew for each
// resolution, so an icon shown at 64 points or written at 256 pixels is sharp.
TEST(ImageTest, VectorDocumentsAreDrawnAtEachResolutionAndNameTheApplicationsIcon) {
    TemporaryFolder bundle;
    bundle.write("Icon.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="4" height="2">)"
                             R"(<rect width="2" height="2" fill="#ff0000"/></svg>)");
    bundle.write("Broken.svg", "not a document");
    bundle.write("Info.plist", R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict>)"
                               R"(<key>CFBundleIconFile</key><string>Icon</string></dict></plist>)");
    headless::HeadlessHost::Options options;
    options.bundleDirectory = bundle.path();
    headless::HeadlessHost host(options);

    const auto icon = Image::imageNamed("Icon");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->size(), (kit::Size{4.0, 2.0}));
    for (const double scale : {1.0, 3.0}) {
        const kit::Bitmap pixels = icon->bitmapForScale(scale);
        ASSERT_EQ(pixels.width(), static_cast<int>(4 * scale));
        ASSERT_EQ(pixels.height(), static_cast<int>(2 * scale));
        EXPECT_EQ(pixels.pixel(0, 0), (kit::Bitmap::RGBA8{255, 0, 0, 255})) << scale;
        EXPECT_EQ(pixels.pixel(pixels.width() - 1, 0).alpha, 0) << "the right half is clear";
    }
    EXPECT_EQ(kit::Application::shared().applicationIconImage(), icon);
    EXPECT_EQ(Image::imageNamed("Broken"), nullptr) << "a document that cannot be read is no image";
}

TEST(ImageTest, SymbolImagesExistOnlyForKnownSymbolsAndKeepTheirConfiguration) {
    headless::HeadlessHost host;
    EXPECT_EQ(Image::imageWithSystemSymbolName("no.such.symbol", ""), nullptr);
    const auto symbol = Image::imageWithSystemSymbolName("binoculars", "Check");
    ASSERT_NE(symbol, nullptr);
    const kit::SymbolConfiguration medium{13.0, 0.23};
    const auto configured = symbol->imageWithSymbolConfiguration(medium);
    ASSERT_NE(configured, nullptr);
    EXPECT_EQ(configured->symbolName(), "binoculars");
    EXPECT_EQ(configured->accessibilityDescription(), "Check");
    EXPECT_EQ(configured->symbolConfiguration(), medium);
    EXPECT_FALSE(symbol->symbolConfiguration()) << "the original is left as it was";
    EXPECT_EQ(Image({4, 4}).imageWithSymbolConfiguration(medium), nullptr);
}
