#include "kit/appkit/AnimationContext.h"

#include <vector>

namespace kit {

namespace {

std::vector<AnimationContext>& groups() {
    // The implicit outermost group is always there, so currentContext() never dangles.
    static std::vector<AnimationContext> stack(1);
    return stack;
}

}  // namespace

void AnimationContext::beginGrouping() {
    groups().reserve(8);  // nesting is shallow: no allocation after the first group
    groups().push_back(AnimationContext{});
}

void AnimationContext::endGrouping() {
    if (groups().size() > 1) {
        groups().pop_back();
    }
}

AnimationContext& AnimationContext::currentContext() {
    return groups().back();
}

}  // namespace kit
