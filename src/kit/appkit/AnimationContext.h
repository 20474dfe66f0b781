#pragma once

namespace kit {

// NSAnimationContext: groups of timed changes. Changes made through an animator proxy inside a group
// take the group's duration; outside any group they take the default duration.
class AnimationContext {
public:
    static constexpr double defaultDuration = 0.25;

    static void beginGrouping();
    static void endGrouping();
    // The innermost open group, or the implicit one when none is open.
    static AnimationContext& currentContext();

    double duration() const { return _duration; }
    void setDuration(double duration) { _duration = duration; }

private:
    double _duration = defaultDuration;
};

}  // namespace kit
