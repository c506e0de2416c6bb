#pragma once

#include <array>
#include <cstdint>

class CArchiveVersion;

// The style of one chart series: line pattern, fill pattern, point style and two colours. The
// chart receives it as one record of nine 32-bit words; only five of them are user settings.
class CPresGraphSerie {
public:
    using Style = std::array<std::int32_t, 9>;

    CPresGraphSerie() = default;

    // 1..7: "Aucun", "Solide", "Long traits", "Pointillé", "Traits courts",
    // "Traits Long court long", "Trait point".
    std::int32_t GetLinePattern() const { return m_linePattern; }
    void SetLinePattern(std::int32_t valeur) { m_linePattern = valeur; }
    // 1..11: "Aucun", "Solide", "25 %", "50 %", "75 %", "Rayures horizontales",
    // "Vertical stripes", "Rayures à 45%", "Rayures à 135%", "Hachures diagonales",
    // "Hachures croisées".
    std::int32_t GetFillPattern() const { return m_fillPattern; }
    void SetFillPattern(std::int32_t valeur) { m_fillPattern = valeur; }
    // 1..11: "Aucun", "Point", "Boite", "Triangle", "Diamant", "Etoile", "Ligne verticale",
    // "Ligne horizontale", "Croix", "Cercle", "Carré".
    std::int32_t GetPointStyle() const { return m_pointStyle; }
    void SetPointStyle(std::int32_t valeur) { m_pointStyle = valeur; }
    // Colour of the bars, areas or line, as 0x00BBGGRR.
    std::uint32_t GetColor() const { return m_color; }
    void SetColor(std::uint32_t valeur) { m_color = valeur; }
    std::uint32_t GetSymbolColor() const { return m_symbolColor; }
    void SetSymbolColor(std::uint32_t valeur) { m_symbolColor = valeur; }

    // The nine words in the chart's order: line pattern, fill pattern, colour, a further style
    // value (2), point style, symbol colour, a further style value (3), then two words that
    // nothing sets (0, which the chart accepts).
    void DonnerStyle(Style& style) const;

    bool operator==(const CPresGraphSerie&) const = default;

    // Archive, the same order both ways: 32-bit LinePattern, FillPattern, PointStyle, Color,
    // SymbolColor. The words not archived keep their values; loading replaces the five only once
    // all are read.
    void Serialize(CArchiveVersion& archive);
    // Bytes of one record.
    static constexpr std::uint64_t kArchiveSize = 5 * 4;

private:
    std::int32_t m_linePattern = 2;
    std::int32_t m_fillPattern = 2;
    std::uint32_t m_color = 0;
    std::int32_t m_styleWord4 = 2;
    std::int32_t m_pointStyle = 2;
    std::uint32_t m_symbolColor = 0;
    std::int32_t m_styleWord7 = 3;
    std::int32_t m_styleWord8 = 0;
    std::int32_t m_styleWord9 = 0;
};
