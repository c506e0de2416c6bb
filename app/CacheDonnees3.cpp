#include "app/CacheDonnees3.h"

#include <utility>

CCacheDonnees3::CCacheDonnees3(int nbEmplacements) : m_cache(nbEmplacements)
{
}

bool CCacheDonnees3::Chercher(std::int32_t cle1, std::int32_t cle2, std::int32_t cle3, CObjetDonnees*& objet)
{
    CObjetDonnees* trouve = m_cache.Find(Cles{cle1, cle2, cle3});
    if (trouve == nullptr)
        return false;
    objet = trouve;
    return true;
}

CObjetDonnees* CCacheDonnees3::Ajouter(std::int32_t cle1, std::int32_t cle2, std::int32_t cle3,
                                       std::unique_ptr<CObjetDonnees> objet)
{
    return m_cache.Add(Cles{cle1, cle2, cle3}, std::move(objet));
}

CObjetDonnees* CCacheDonnees3::LendWithoutKeeping(std::int32_t cle1, std::int32_t cle2, std::int32_t cle3,
                                                std::unique_ptr<CObjetDonnees> objet)
{
    return m_cache.LendOutside(Cles{cle1, cle2, cle3}, std::move(objet));
}

// The vector itself tells what it is: kept, detached or lent; the keys add nothing.
void CCacheDonnees3::Liberer(std::int32_t /*cle1*/, std::int32_t /*cle2*/, std::int32_t /*cle3*/,
                             const CObjetDonnees* objet)
{
    m_cache.GiveBack(objet);
}

void CCacheDonnees3::InvaliderCle2(std::int32_t cle2)
{
    m_cache.Invalidate([cle2](const Cles& cles) { return cles.champ == cle2; }, false);
}

void CCacheDonnees3::InvaliderCle3(std::int32_t cle3)
{
    m_cache.Invalidate([cle3](const Cles& cles) { return cles.redressement == cle3; }, false);
}
