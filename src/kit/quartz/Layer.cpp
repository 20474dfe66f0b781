#include "kit/quartz/Layer.h"

#include <algorithm>
#include <utility>

namespace kit {

Layer::~Layer() {
    // Sublayers that outlive this layer elsewhere must not point back at it.
    for (const auto& sublayer : _sublayers) {
        sublayer->_superlayer = nullptr;
    }
}

void Layer::addSublayer(std::shared_ptr<Layer> layer) {
    if (!layer) {
        return;
    }
    // A layer cannot hold itself or one of its ancestors: the tree would become a loop.
    for (const Layer* ancestor = this; ancestor; ancestor = ancestor->_superlayer) {
        if (ancestor == layer.get()) {
            return;
        }
    }
    layer->removeFromSuperlayer();
    layer->_superlayer = this;
    _sublayers.push_back(std::move(layer));
}

void Layer::removeFromSuperlayer() {
    Layer* superlayer = std::exchange(_superlayer, nullptr);
    if (!superlayer) {
        return;
    }
    auto& siblings = superlayer->_sublayers;
    const auto found = std::find_if(siblings.begin(), siblings.end(),
                                    [this](const auto& layer) { return layer.get() == this; });
    if (found == siblings.end()) {
        return;
    }
    // The superlayer may hold the last reference: keep this layer alive until nothing here needs it.
    const std::shared_ptr<Layer> keepAlive = std::move(*found);
    siblings.erase(found);
}

}  // namespace kit
