#include <gtest/gtest.h>

#include "kit/quartz/Layer.h"

TEST(LayerTest, SublayersHaveOneSuperlayerAndNoLoops) {
    const auto root = kit::Layer::make();
    const auto other = kit::Layer::make();
    const auto child = kit::GradientLayer::make();
    root->addSublayer(child);
    other->addSublayer(child);  // moves it
    EXPECT_TRUE(root->sublayers().empty());
    EXPECT_EQ(child->superlayer(), other.get());

    child->addSublayer(other);  // an ancestor
    child->addSublayer(child);
    EXPECT_TRUE(child->sublayers().empty());
}

TEST(LayerTest, ASublayerHeldElsewhereForgetsASuperlayerThatIsGone) {
    auto root = kit::Layer::make();
    const auto kept = kit::Layer::make();
    root->addSublayer(kept);
    root.reset();
    EXPECT_EQ(kept->superlayer(), nullptr);
}
