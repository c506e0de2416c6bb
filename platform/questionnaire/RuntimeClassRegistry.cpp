#include "platform/questionnaire/RuntimeClassRegistry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, const RuntimeClass*, std::less<>> classes;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

bool IsStorableName(std::string_view name) {
    return !name.empty() && name.size() <= RuntimeClassRegistry::kMaxNameLength &&
           std::all_of(name.begin(), name.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

} // namespace

void RuntimeClassRegistry::Register(const RuntimeClass& runtimeClass) {
    const std::string_view name = runtimeClass.name == nullptr ? std::string_view() : runtimeClass.name;
    if (!IsStorableName(name) || runtimeClass.create == nullptr || runtimeClass.schema > 0xFFFF)
        throw std::invalid_argument("run-time class cannot be registered: " + std::string(name));
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    const auto [entry, inserted] = registry.classes.emplace(std::string(name), &runtimeClass);
    if (!inserted && entry->second != &runtimeClass)
        throw std::invalid_argument("run-time class registered twice: " + std::string(name));
}

const RuntimeClass* RuntimeClassRegistry::Find(std::string_view name) {
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    const auto found = registry.classes.find(name);
    return found == registry.classes.end() ? nullptr : found->second;
}
