#pragma once

#include <memory>
#include <vector>

// Empties an array of owned objects: each one is deleted through its own destructor, in order,
// then the array holds none.
template <class T>
void ViderTableauObjets(std::vector<std::unique_ptr<T>>& tableau)
{
    for (auto& objet : tableau)
        objet.reset();
    tableau.clear();
}
