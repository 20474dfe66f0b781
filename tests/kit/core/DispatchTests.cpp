#include <gtest/gtest.h>

#include "kit/core/Object.h"

namespace {

class Lamp : public kit::Object {
public:
    void toggle(kit::Object* sender) {
        on = !on;
        lastSender = sender;
    }
    void reset() { on = false; }

    bool on = false;
    kit::Object* lastSender = nullptr;

    static const kit::DispatchTable& classDispatchTable() {
        static const kit::DispatchTable table(
            &Object::classDispatchTable(),
            {kit::action<&Lamp::toggle>("toggle:"), kit::action<&Lamp::reset>("reset")});
        return table;
    }

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }
};

class DimmableLamp : public Lamp {
public:
    void dim(kit::Object*) { ++dimCount; }
    int dimCount = 0;

    static const kit::DispatchTable& classDispatchTable() {
        static const kit::DispatchTable table(&Lamp::classDispatchTable(),
                                              {kit::action<&DimmableLamp::dim>("dim:")});
        return table;
    }

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }
};

}  // namespace

TEST(Selector, InternsNamesSoEqualNamesAreEqualValues) {
    const kit::Selector a = kit::sel("positionTintWindow:");
    const kit::Selector b = kit::Selector::named(std::string("positionTintWindow") + ":");
    EXPECT_EQ(a, b);
    EXPECT_NE(a, kit::sel("positionTintWindow"));
    EXPECT_TRUE(kit::Selector().isNull());
    EXPECT_EQ(kit::Selector().name(), "(null)");
}

TEST(Dispatch, ClassesAnswerThroughTheirOwnTableAndInheritTheirBase) {
    Lamp lamp;
    DimmableLamp dimmable;
    kit::Object plain;

    EXPECT_FALSE(lamp.respondsTo(kit::sel("dim:")));
    EXPECT_TRUE(dimmable.respondsTo(kit::sel("toggle:")));
    EXPECT_TRUE(dimmable.respondsTo(kit::sel("dim:")));
    EXPECT_FALSE(plain.respondsTo(kit::sel("toggle:")));

    EXPECT_TRUE(lamp.perform(kit::sel("toggle:"), &plain));
    EXPECT_TRUE(lamp.on);
    EXPECT_EQ(lamp.lastSender, &plain);
    EXPECT_TRUE(lamp.perform(kit::sel("reset"), &plain));
    EXPECT_FALSE(lamp.on);
    EXPECT_FALSE(plain.perform(kit::sel("toggle:")));
    EXPECT_TRUE(dimmable.perform(kit::sel("dim:")));
    EXPECT_EQ(dimmable.dimCount, 1);
}
