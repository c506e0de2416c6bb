#include "app/CacheDonnees.h"

#include <utility>

CCacheDonnees::CCacheDonnees(int nbEmplacements) : m_cache(nbEmplacements)
{
}

bool CCacheDonnees::Chercher(const CQuestionEtendue* question, CObjetDonnees*& objet)
{
    if (question == nullptr)
        return false;
    CObjetDonnees* trouve = m_cache.Find(question);
    if (trouve == nullptr)
        return false;
    objet = trouve;
    return true;
}

CObjetDonnees* CCacheDonnees::Ajouter(const CQuestionEtendue* question, std::unique_ptr<CObjetDonnees> objet)
{
    // A null question can't be found again: lend the container without keeping it.
    if (question == nullptr)
        return m_cache.LendOutside(question, std::move(objet));
    return m_cache.Add(question, std::move(objet));
}

CObjetDonnees* CCacheDonnees::LendWithoutKeeping(const CQuestionEtendue* question, std::unique_ptr<CObjetDonnees> objet)
{
    return m_cache.LendOutside(question, std::move(objet));
}

std::unique_ptr<CObjetDonnees> CCacheDonnees::PrendreProchainEvince()
{
    return m_cache.TakeNextEvicted();
}

// The container itself tells what it is: kept, detached or lent. Its question adds nothing, and a
// detached container's question may be cached again with another container.
void CCacheDonnees::Liberer(const CQuestionEtendue* /*question*/, const CObjetDonnees* objet)
{
    m_cache.GiveBack(objet);
}

void CCacheDonnees::Invalider(const CQuestionEtendue* question)
{
    m_cache.Invalidate([question](const CQuestionEtendue* cle) { return cle == question; }, true);
}

void CCacheDonnees::InvaliderProprietaire(int codeRecodage,
                                          const std::function<int(const CQuestionEtendue*)>& codeRecodageDe)
{
    m_cache.Invalidate([&](const CQuestionEtendue* cle) { return codeRecodageDe(cle) == codeRecodage; }, false);
}
