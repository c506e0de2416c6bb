#pragma once

#include <functional>
#include <memory>

#include "app/LendingCache.h"
#include "app/ObjetDonnees.h"

class CQuestionEtendue;

// The survey's cache of answer containers keyed by question: code matrices of closed questions
// in one, value vectors of numeric and date questions in another.
//
// A reader borrows (Chercher), or builds and stores (Ajouter), uses the container, then gives it
// back (Liberer). The cache owns every container it handed out until it is given back, so the
// caller never deletes one; a container invalidated while borrowed is detached from the cache
// and freed by its last give-back, never while in use.
class CCacheDonnees {
public:
    explicit CCacheDonnees(int nbEmplacements);

    // The container kept for the question, borrowed (its use count raised, moved to the front);
    // false when none is kept.
    bool Chercher(const CQuestionEtendue* question, CObjetDonnees*& objet);
    // Stores a new container for the question, borrowed once, and answers it. When every slot
    // is borrowed it is not kept: the matching Liberer frees it.
    CObjetDonnees* Ajouter(const CQuestionEtendue* question, std::unique_ptr<CObjetDonnees> objet);
    // Hands out a container that must not be kept (a derived read), so that the reader gives it
    // back like any other: the matching Liberer frees it.
    CObjetDonnees* LendWithoutKeeping(const CQuestionEtendue* question, std::unique_ptr<CObjetDonnees> objet);
    // The container the next Ajouter would free to make room, taken out of the cache so that a
    // reader refills its memory instead of allocating afresh; null when a slot is free or every
    // container is borrowed.
    std::unique_ptr<CObjetDonnees> PrendreProchainEvince();
    // Gives back what Chercher, Ajouter or LendWithoutKeeping handed out.
    void Liberer(const CQuestionEtendue* question, const CObjetDonnees* objet);

    // Empties the first entry of the question.
    void Invalider(const CQuestionEtendue* question);
    // Empties every entry whose question is made by the recode `codeRecodage`. The question's
    // recode code is asked of `codeRecodageDe`, so that this cache needs nothing of the question
    // class; the survey passes CQuestionEtendue::GetCodeRecodage.
    void InvaliderProprietaire(int codeRecodage,
                               const std::function<int(const CQuestionEtendue*)>& codeRecodageDe);

    // For diagnostics and tests.
    int GetSlotCount() const { return m_cache.SlotCount(); }
    const CQuestionEtendue* GetKeyAt(int slot) const { return m_cache.KeyAt(slot); }
    int GetUseCountAt(int slot) const { return m_cache.UseCountAt(slot); }
    int GetOutsideLoanCount() const { return m_cache.LoanCount(); }

private:
    LendingCache<const CQuestionEtendue*> m_cache;
};
