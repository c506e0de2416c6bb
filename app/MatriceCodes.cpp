#include "app/MatriceCodes.h"

#include <algorithm>
#include <cassert>

namespace {

// A negative count can't size anything: it means none.
int AtLeastZero(int n)
{
    return std::max(n, 0);
}

} // namespace

CMatriceCodes::CMatriceCodes(std::int16_t nbColonnes) : m_nbColonnes(AtLeastZero(nbColonnes))
{
}

CMatriceCodes::CMatriceCodes(const CMatriceCodes& source)
    : CObjetDonnees(source),
      m_nbColonnes(source.m_nbColonnes),
      m_nbLignes(source.m_nbLignes),
      m_capaciteLignes(source.m_nbLignes),
      m_cases(source.m_cases.begin(),
              source.m_cases.begin() + static_cast<std::ptrdiff_t>(source.m_nbLignes) * source.m_nbColonnes)
{
}

CMatriceCodes& CMatriceCodes::operator=(const CMatriceCodes& source)
{
    if (this != &source) {
        m_cases.assign(source.m_cases.begin(),
                       source.m_cases.begin() + static_cast<std::ptrdiff_t>(source.m_nbLignes) * source.m_nbColonnes);
        m_nbColonnes = source.m_nbColonnes;
        m_nbLignes = source.m_nbLignes;
        m_capaciteLignes = source.m_nbLignes;
    }
    return *this;
}

std::size_t CMatriceCodes::Position(int ligne, int colonne) const
{
    return static_cast<std::size_t>(ligne) * static_cast<std::size_t>(m_nbColonnes) + static_cast<std::size_t>(colonne);
}

std::int16_t CMatriceCodes::GetAt(int ligne, int colonne) const
{
    assert(ligne >= 0 && ligne < m_nbLignes && colonne >= 0 && colonne < m_nbColonnes);
    return m_cases[Position(ligne, colonne)];
}

void CMatriceCodes::SetAt(int ligne, int colonne, std::int16_t code)
{
    assert(ligne >= 0 && ligne < m_nbLignes && colonne >= 0 && colonne < m_nbColonnes);
    m_cases[Position(ligne, colonne)] = code;
}

void CMatriceCodes::ReallouerLignes(int capacite)
{
    // New cells are empty from the start: growing a matrix then costs one pass, not two.
    m_cases.resize(static_cast<std::size_t>(capacite) * static_cast<std::size_t>(m_nbColonnes), kEmptyCell);
    m_cases.shrink_to_fit();
    m_capaciteLignes = capacite;
}

void CMatriceCodes::ViderLignes(int premiere, int fin)
{
    if (premiere >= fin)
        return;
    std::fill(m_cases.begin() + static_cast<std::ptrdiff_t>(Position(premiere, 0)),
              m_cases.begin() + static_cast<std::ptrdiff_t>(Position(fin, 0)), kEmptyCell);
}

int CMatriceCodes::AjouterLigne()
{
    if (m_nbLignes == m_capaciteLignes)
        ReallouerLignes(m_capaciteLignes == 0 ? kFirstCapacity : m_capaciteLignes * 2);
    ViderLignes(m_nbLignes, m_nbLignes + 1);
    return m_nbLignes++;
}

void CMatriceCodes::SetNbLignes(int n)
{
    n = AtLeastZero(n);
    // Rows past the old capacity come empty from the reallocation; only spare rows that held
    // codes before need emptying.
    const int anciennesCapacite = m_capaciteLignes;
    ReallouerLignes(n);
    ViderLignes(std::min(m_nbLignes, n), std::min(anciennesCapacite, n));
    m_nbLignes = n;
}

void CMatriceCodes::SetTailleAEcraser(int n, int nbColonnes)
{
    n = AtLeastZero(n);
    m_nbColonnes = AtLeastZero(nbColonnes);
    m_cases.resize(static_cast<std::size_t>(n) * static_cast<std::size_t>(m_nbColonnes));
    m_nbLignes = n;
    m_capaciteLignes = n;
}

void CMatriceCodes::ReprendreMemoire(CMatriceCodes& abandonnee)
{
    m_cases.swap(abandonnee.m_cases);
    m_cases.clear();
    abandonnee.Vider(abandonnee.m_nbColonnes);
}

void CMatriceCodes::SetNbColonnes(int m)
{
    m = AtLeastZero(m);
    decltype(m_cases) cases(static_cast<std::size_t>(m_capaciteLignes) * static_cast<std::size_t>(m), kEmptyCell);
    const int gardees = std::min(m_nbColonnes, m);
    for (int ligne = 0; ligne < m_capaciteLignes; ++ligne) {
        const auto debut = m_cases.begin() + static_cast<std::ptrdiff_t>(Position(ligne, 0));
        std::copy(debut, debut + gardees, cases.begin() + static_cast<std::ptrdiff_t>(ligne) * m);
    }
    m_cases = std::move(cases);
    m_nbColonnes = m;
}

void CMatriceCodes::Compacter()
{
    ReallouerLignes(m_nbLignes);
}

void CMatriceCodes::Vider(int nbColonnes)
{
    decltype(m_cases)().swap(m_cases);
    m_nbColonnes = AtLeastZero(nbColonnes);
    m_nbLignes = 0;
    m_capaciteLignes = 0;
}

void CMatriceCodes::RemplirColonne0(std::int16_t code)
{
    if (m_nbColonnes == 0)
        return;
    for (int ligne = 0; ligne < m_nbLignes; ++ligne)
        m_cases[Position(ligne, 0)] = code;
}
