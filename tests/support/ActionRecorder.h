#pragma once

#include <vector>

#include "kit/core/Object.h"

// A target that records the sender of every "changed:" action it receives.
class ActionRecorder : public kit::Object {
public:
    static constexpr const char* actionName = "changed:";

    void changed(kit::Object* sender) { senders.push_back(sender); }
    std::vector<kit::Object*> senders;

    static const kit::DispatchTable& classDispatchTable() {
        static const kit::DispatchTable table(&Object::classDispatchTable(),
                                              {kit::action<&ActionRecorder::changed>(actionName)});
        return table;
    }

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }
};
