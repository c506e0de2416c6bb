#pragma once

#include <memory>
#include <string>
#include <vector>

class CArchiveVersion;
class CObjet;

// Run-time class of an archived object: the name and schema written before the object in an
// archive, and the factory that recreates it on loading ("dynamic creation"). A class that is
// written as an object declares one static record, returns it from GetRuntimeClass and has it
// registered (RuntimeClassRegistry) before any archive reads it:
//     static constexpr RuntimeClass kRuntimeClass{"CTraitement", 1, &CObjet::CreateObject<CTraitement>};
// The name is plain ASCII, at most 63 characters, and unique among the registered classes.
struct RuntimeClass {
    const char* name;
    unsigned schema;
    std::unique_ptr<CObjet> (*create)();
};

// Base of every object of the questionnaire model and of the records that are stored through
// the versioned archive.
class CObjet {
public:
    virtual ~CObjet() = default;

    // Null for classes that are never written as objects.
    virtual const RuntimeClass* GetRuntimeClass() const { return nullptr; }
    // Writes or reads the object's own record; the base class has none.
    virtual void Serialize(CArchiveVersion& archive);

    // The factory of a RuntimeClass record: a default-constructed T.
    template <class T> static std::unique_ptr<CObjet> CreateObject() { return std::make_unique<T>(); }

    // Empties an array of owned objects, deleting each one.
    template <class T> static void DetruireTableau(std::vector<std::unique_ptr<T>>& objects) { objects.clear(); }
    template <class T> static void DeleteArray(std::vector<std::unique_ptr<T>>& objects) { objects.clear(); }

protected:
    CObjet() = default;
    CObjet(const CObjet&) = default;
    CObjet& operator=(const CObjet&) = default;
};
