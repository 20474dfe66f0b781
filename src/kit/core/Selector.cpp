#include "kit/core/Selector.h"

#include <mutex>
#include <unordered_set>

namespace kit {

namespace {

struct InternTable {
    std::mutex mutex;
    std::unordered_set<std::string> names;  // node-based: element addresses never move
};

InternTable& internTable() {
    static auto* table = new InternTable;  // never destroyed: selectors may be used during static teardown
    return *table;
}

}  // namespace

Selector Selector::named(std::string_view name) {
    auto& table = internTable();
    std::lock_guard lock(table.mutex);
    auto [it, inserted] = table.names.emplace(name);
    return Selector(&*it);
}

const std::string& Selector::name() const {
    static const std::string nullName = "(null)";
    return _name ? *_name : nullName;
}

}  // namespace kit
