#pragma once

#include <memory>
#include <string>
#include <vector>

class CArchiveVersion;
class CObjet;

// Run-time class of an archived object: the name and schema written before the object in an
// archive, and the factory that recreates it on loading ("dynamic creation").
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
    virtual void Serialize(CArchiveVersion& archive);

    // Empties an array of owned objects, deleting each one.
    template <class T> static void DetruireTableau(std::vector<std::unique_ptr<T>>& objects) { objects.clear(); }
    template <class T> static void DeleteArray(std::vector<std::unique_ptr<T>>& objects) { objects.clear(); }

protected:
    CObjet() = default;
    CObjet(const CObjet&) = default;
    CObjet& operator=(const CObjet&) = default;
};
