#include "tabulation/TablesOuvertes.h"

#include <utility>

#include "tabulation/Tableau.h"

namespace {

std::unique_ptr<TablesOuvertes>& Installed() {
    static std::unique_ptr<TablesOuvertes> tables;
    return tables;
}

} // namespace

void TablesOuvertes::Enregistrer(std::unique_ptr<TablesOuvertes> tables) { Installed() = std::move(tables); }

TablesOuvertes* TablesOuvertes::Donner() { return Installed().get(); }
