#pragma once

#include <cstdint>
#include <string>

class CArchiveVersion;

// A font description: face, size in points, style flags, shading and colour. A plain value,
// copied into every record that shows text. A default-constructed font holds the built-in
// defaults; the records that contain fonts take the user's saved ones.
class CPoliceAna {
public:
    static constexpr const char* kDefaultFace = "Times New Roman";
    static constexpr double kDefaultSize = 10.0;
    // Text of a shaded font stands on this light grey, as 0x00BBGGRR.
    static constexpr std::uint32_t kShadowBackground = 0xC0C0C0;

    CPoliceAna() = default;

    const std::string& GetNom() const { return m_nom; }
    void SetNom(const std::string& nom) { m_nom = nom; }
    double GetTaille() const { return m_taille; }
    void SetTaille(double taille) { m_taille = taille; }
    bool GetGras() const { return m_gras; }
    void SetGras(bool gras) { m_gras = gras; }
    bool GetItalique() const { return m_italique; }
    void SetItalique(bool italique) { m_italique = italique; }
    bool GetSouligne() const { return m_souligne; }
    void SetSouligne(bool souligne) { m_souligne = souligne; }
    bool GetOmbre() const { return m_ombre; }
    void SetOmbre(bool ombre) { m_ombre = ombre; }
    std::uint32_t GetCouleur() const { return m_couleur; }
    void SetCouleur(std::uint32_t couleur) { m_couleur = couleur; }

    // Every attribute equal: the face byte for byte (case counts), the size exactly. Equal fonts
    // are merged into one entry of a font table.
    bool operator==(const CPoliceAna&) const = default;

    // Archive, the same order both ways: face, size (8-byte double), then the 32-bit words bold,
    // italic, underlined, shaded and colour. Loading replaces the font only once all is read.
    void Serialize(CArchiveVersion& archive);

private:
    std::string m_nom = kDefaultFace;
    double m_taille = kDefaultSize;
    bool m_gras = false;
    bool m_italique = false;
    bool m_souligne = false;
    bool m_ombre = false;
    std::uint32_t m_couleur = 0;
};
