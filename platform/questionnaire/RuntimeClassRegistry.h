#pragma once

#include <string_view>

#include "platform/questionnaire/Objet.h"

// The run-time classes that archives can recreate by name ("dynamic creation"). Every class
// written as an object is registered at start-up, before the first archive is read; the
// records are static and outlive the registry's use of them. Safe to use from several threads.
class RuntimeClassRegistry {
public:
    // Registers a class record. Registering the same record again does nothing; a different
    // record under a registered name, an empty or non-ASCII name, a name of 64 characters or
    // more, or a record without factory throws std::invalid_argument (a programming error).
    static void Register(const RuntimeClass& runtimeClass);
    // The record registered under that exact name (case-sensitive); null when none.
    static const RuntimeClass* Find(std::string_view name);

    // Longest class name an archive stores (the framework's limit).
    static constexpr std::size_t kMaxNameLength = 63;
};
