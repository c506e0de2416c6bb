#pragma once

// Common base of the answer-data containers (value vectors, weight vectors, code matrices), so
// that the caches can hold any of them and delete them through their own destructor.
class CObjetDonnees {
public:
    virtual ~CObjetDonnees() = default;

protected:
    CObjetDonnees() = default;
    CObjetDonnees(const CObjetDonnees&) = default;
    CObjetDonnees& operator=(const CObjetDonnees&) = default;
};
