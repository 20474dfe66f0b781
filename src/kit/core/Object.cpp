#include "kit/core/Object.h"

#include <vector>

namespace kit {

DispatchTable::DispatchTable(const DispatchTable* base, std::initializer_list<Entry> entries)
    : _base(base), _entries(entries.begin(), entries.end()) {}

DispatchTable::Handler DispatchTable::find(Selector selector) const {
    for (const DispatchTable* table = this; table; table = table->_base) {
        if (auto it = table->_entries.find(selector); it != table->_entries.end()) {
            return it->second;
        }
    }
    return nullptr;
}

namespace {

std::vector<Object::DestructionHook>& destructionHooks() {
    static auto* hooks = new std::vector<Object::DestructionHook>;  // objects die during static teardown too
    return *hooks;
}

}  // namespace

bool Object::callOnDestruction(DestructionHook hook) {
    destructionHooks().push_back(hook);
    return true;
}

Object::~Object() {
    for (DestructionHook hook : destructionHooks()) {
        hook(*this);
    }
}

bool Object::perform(Selector selector, Object* argument) {
    DispatchTable::Handler handler = dispatchTable().find(selector);
    if (!handler) {
        return false;
    }
    handler(*this, argument);
    return true;
}

const DispatchTable& Object::classDispatchTable() {
    static const DispatchTable table(nullptr, {});
    return table;
}

}  // namespace kit
