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

    child->removeFromSuperlayer();
    EXPECT_TRUE(other->sublayers().empty());
    EXPECT_EQ(child->superlayer(), nullptr);
}

TEST(LayerTest, LayersOutliveOrLeaveTheirSuperlayersSafely) {
    // Held only by its superlayer: removing it must not touch the freed layer.
    auto root = kit::Layer::make();
    root->addSublayer(kit::ShapeLayer::make());
    root->sublayers().front()->removeFromSuperlayer();
    EXPECT_TRUE(root->sublayers().empty());

    // A sublayer held elsewhere forgets a superlayer that is gone.
    const auto kept = kit::Layer::make();
    root->addSublayer(kept);
    root.reset();
    EXPECT_EQ(kept->superlayer(), nullptr);
}
