#include "app/VecteurDouble.h"

#include <algorithm>
#include <cassert>

CVecteurDouble::CVecteurDouble(int n) : m_nombre(std::max(n, 0)), m_valeurs(static_cast<std::size_t>(m_nombre))
{
}

CVecteurDouble::CVecteurDouble(const CVecteurDouble& source)
    : CObjetDonnees(source),
      m_nombre(source.m_nombre),
      m_valeurs(source.m_valeurs.begin(), source.m_valeurs.begin() + source.m_nombre)
{
}

CVecteurDouble& CVecteurDouble::operator=(const CVecteurDouble& source)
{
    if (this != &source) {
        m_valeurs.assign(source.m_valeurs.begin(), source.m_valeurs.begin() + source.m_nombre);
        m_nombre = source.m_nombre;
    }
    return *this;
}

void CVecteurDouble::SetAt(int i, double valeur)
{
    assert(i >= 0 && i < m_nombre);
    m_valeurs[static_cast<std::size_t>(i)] = valeur;
}

void CVecteurDouble::Remplir(double valeur)
{
    std::fill(m_valeurs.begin(), m_valeurs.begin() + m_nombre, valeur);
}

int CVecteurDouble::Ajouter()
{
    if (m_nombre == GetCapacity())
        m_valeurs.resize(m_valeurs.empty() ? kFirstCapacity : m_valeurs.size() * 2);
    m_valeurs[static_cast<std::size_t>(m_nombre)] = kNotAsked;
    return m_nombre++;
}

void CVecteurDouble::SetSize(int n)
{
    n = std::max(n, 0);
    if (n == m_nombre)
        return;
    m_valeurs.resize(static_cast<std::size_t>(n));
    m_valeurs.shrink_to_fit();
    m_nombre = n;
}

void CVecteurDouble::Compacter()
{
}

void CVecteurDouble::Additionner(const CVecteurDouble& autre)
{
    const int commun = std::min(m_nombre, autre.m_nombre);
    for (int i = 0; i < commun; ++i)
        m_valeurs[static_cast<std::size_t>(i)] += autre.m_valeurs[static_cast<std::size_t>(i)];
}
