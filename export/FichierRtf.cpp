#include "export/FichierRtf.h"

#include <algorithm>
#include <cmath>

#include "app/Registre.h"
#include "app/StringTable.h"
#include "export/ChartPictures.h"
#include "export/ElementRtf.h"
#include "export/ExportFile.h"
#include "export/RtfColumnWidths.h"
#include "export/RtfText.h"
#include "export/TablePieces.h"
#include "presentation/PoliceAna.h"
#include "tabulation/Tableau.h"

namespace {

// Style numbers of registered styles start here (0 is the built-in Normal, 10 the default
// character style).
constexpr std::int32_t kFirstStyleNumber = 15;
// Bytes of a picture per line of hexadecimal digits (254 characters).
constexpr std::size_t kPictureBytesPerLine = 127;
// Largest size in half points RTF takes.
constexpr double kLargestHalfPoints = 32767.0;

constexpr const char* kPortraitPage = "\\paperw11907\\paperh16840\\margl737\\margr737\\margt981\\margb1979";
constexpr const char* kPortraitSection =
    "\\widowctrl\\ftnbj\\aenddoc\\formshade \\fet0\\sectd \\psz9\\linex0\\headery709\\footery709\\colsx709";
constexpr const char* kLandscapePage = "\\paperw16840\\paperh11907\\margl981\\margr1979\\margt737\\margb737";
constexpr const char* kLandscapeSection = "\\widowctrl\\ftnbj\\aenddoc\\formshade \\horzdoc \\fet0\\sectd "
                                          "\\lndscpsxn \\psz127\\linex0\\headery709\\footery709\\colsx709";

std::int32_t HalfPoints(double size) {
    if (!(size > 0.0))
        return static_cast<std::int32_t>(2 * CPoliceAna::kDefaultSize);
    return static_cast<std::int32_t>(std::clamp(std::trunc(size * 2.0), 1.0, kLargestHalfPoints));
}

// Width and height in pixels from a PNG's header; false when the bytes are no PNG.
bool PngSize(const std::vector<std::uint8_t>& png, std::uint32_t& width, std::uint32_t& height) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    static constexpr std::size_t kHeaderEnd = 24;
    if (png.size() < kHeaderEnd || !std::equal(std::begin(kSignature), std::end(kSignature), png.begin()))
        return false;
    if (png[12] != 'I' || png[13] != 'H' || png[14] != 'D' || png[15] != 'R')
        return false;
    const auto word = [&png](std::size_t at) {
        return (std::uint32_t{png[at]} << 24) | (std::uint32_t{png[at + 1]} << 16) | (std::uint32_t{png[at + 2]} << 8) |
               std::uint32_t{png[at + 3]};
    };
    width = word(16);
    height = word(20);
    return width > 0 && height > 0 && width <= 0x7FFFFFFF && height <= 0x7FFFFFFF;
}

// The least widths of a piece's columns: the header columns', then those of its data columns.
std::vector<std::int32_t> PieceNeeds(const std::vector<std::int32_t>& needs, std::int32_t headerColumns,
                                     const TablePieces::Piece& piece) {
    std::vector<std::int32_t> own(needs.begin(), needs.begin() + headerColumns);
    const auto first = needs.begin() + headerColumns + piece.firstColumn;
    own.insert(own.end(), first, first + piece.columnCount);
    return own;
}

} // namespace

CFichierRtf::CFichierRtf(std::string path) : m_path(std::move(path)) {}

CFichierRtf::CFichierRtf(NoFile) {}

CFichierRtf::~CFichierRtf() = default;

bool CFichierRtf::Ouvrir(const std::string& questionnairePath) {
    m_file = std::make_unique<ExportFile>(m_path);
    if (!m_file->Open(questionnairePath)) {
        m_error = m_file->GetError();
        return false;
    }
    EcrireLigne("{\\rtf1\\ansi\\deff0\\deflang" + std::to_string(CRegistre::GetLangue()));
    return !m_file->Failed();
}

std::int32_t CFichierRtf::FaceNumber(const std::string& face) {
    const auto found = std::find(m_faces.begin(), m_faces.end(), face);
    if (found != m_faces.end())
        return static_cast<std::int32_t>(found - m_faces.begin());
    m_faces.push_back(face);
    return static_cast<std::int32_t>(m_faces.size() - 1);
}

std::int32_t CFichierRtf::ColourNumber(std::uint32_t colour) {
    colour &= 0xFFFFFF;
    const auto found = std::find(m_colours.begin(), m_colours.end(), colour);
    if (found != m_colours.end())
        return static_cast<std::int32_t>(found - m_colours.begin()) + 1;
    m_colours.push_back(colour);
    return static_cast<std::int32_t>(m_colours.size());
}

std::string CFichierRtf::CharacterFormat(const CPoliceAna& font) {
    std::string code;
    if (font.GetSouligne())
        code += "\\ul";
    if (font.GetGras())
        code += "\\b";
    if (font.GetItalique())
        code += "\\i";
    code += "\\f" + std::to_string(FaceNumber(font.GetNom())) + "\\fs" + std::to_string(HalfPoints(font.GetTaille())) +
            " \\cf" + std::to_string(ColourNumber(font.GetCouleur())) + " ";
    return code;
}

CPoliceAna CFichierRtf::PoliceDeStyle(double size) {
    CPoliceAna font;
    font.SetNom("Times New Roman");
    font.SetTaille(size);
    return font;
}

void CFichierRtf::AjouterStyle(const std::string& name, const CPoliceAna& font) {
    const auto number = static_cast<std::int32_t>(m_styles.size()) + kFirstStyleNumber;
    const auto known = std::find_if(m_styles.begin(), m_styles.end(), [&name](const Style& s) { return s.name == name; });
    Style style{name, "\\s" + std::to_string(number) + CharacterFormat(font), number};
    if (known != m_styles.end()) {
        style.number = known->number;
        style.code = "\\s" + std::to_string(known->number) + CharacterFormat(font);
        *known = std::move(style);
        return;
    }
    m_styles.push_back(std::move(style));
}

std::string CFichierRtf::FormaterPolice(const CPoliceAna& font) {
    std::string code = CharacterFormat(font);
    if (font.GetOmbre() && m_shadeColour == 0)
        m_shadeColour = ColourNumber(CPoliceAna::kShadowBackground);
    return code;
}

void CFichierRtf::EcrireEntete(bool portrait) {
    m_portrait = portrait;
    EcrireLigne("{\\fonttbl");
    for (std::size_t i = 0; i < m_faces.size(); ++i)
        EcrireLigne("{\\f" + std::to_string(i) + "\\froman\\fcharset0\\fprq2 " + RtfText::Escape(m_faces[i], " ") + ";}");
    EcrireLigne("}");
    if (!m_colours.empty()) {
        EcrireLigne("{\\colortbl;");
        std::string line;
        for (const std::uint32_t colour : m_colours)
            line += "\\red" + std::to_string(colour & 0xFF) + "\\green" + std::to_string((colour >> 8) & 0xFF) + "\\blue" +
                    std::to_string((colour >> 16) & 0xFF) + ";";
        EcrireLigne(line);
        EcrireLigne("}");
    }
    EcrireLigne("{\\stylesheet");
    EcrireLigne("{\\f0\\fs20 \\snext0 Normal;}");
    EcrireLigne("{\\*\\cs10 \\additive Default Paragraph Font;}");
    for (const Style& style : m_styles)
        EcrireLigne("{" + style.code + "\\snext" + std::to_string(style.number) + " " + RtfText::Escape(style.name, " ") +
                    ";}");
    EcrireLigne("}");
    EcrireLigne("{\\info{\\author Velto Morvane}");
    EcrireLigne("}");
    EcrireLigne(portrait ? kPortraitPage : kLandscapePage);
    EcrireLigne(portrait ? kPortraitSection : kLandscapeSection);
}

void CFichierRtf::EcrireParagraphe(const std::string& styleName) {
    const auto style =
        std::find_if(m_styles.begin(), m_styles.end(), [&styleName](const Style& s) { return s.name == styleName; });
    if (style != m_styles.end())
        EcrireLigne("\\pard\\plain " + style->code);
}

void CFichierRtf::EcrireTexte(std::string_view text) { EcrireLigne(RtfText::Escape(text, "\\par ")); }

void CFichierRtf::EcrireFinParagraphe() { EcrireLigne("\\par"); }

void CFichierRtf::EcrireLigne(std::string_view line) {
    if (!m_file)
        return;
    m_line.assign(line);
    m_line += "\r\n";
    m_file->Write(m_line);
}

void CFichierRtf::EcrireTableau(const CTableauBase& table, const std::string& titleStyle, const std::string& title) {
    const std::string& normal = StringTable::Text(StringTable::kStyleNormal);
    EcrireParagraphe(normal);
    if (table.GetPresentation().GetEstTitreAuDessus())
        EcrireTexte(table.DonnerTexteBase());
    EcrireFinParagraphe();

    const std::string before = RtfText::Escape(CRegistre::GetMarqueurRTFAvant());
    const std::string after = RtfText::Escape(CRegistre::GetMarqueurRTFApres());
    const bool landscape = !m_portrait;
    // Pieces of columns no wider than the page, none of whose words a word processor must break.
    const std::vector<std::int32_t> needs = RtfColumnWidths::Needs(table);
    const std::vector<TablePieces::Piece> pieces = TablePieces::Plan(
        table, CRegistre::GetLinesPerTableInWord(landscape), CRegistre::GetColumnsPerTableInWord(landscape),
        needs, RtfColumnWidths::PageWidth(m_portrait));
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        if (k > 0 && !titleStyle.empty()) {
            EcrireParagraphe(titleStyle);
            EcrireTexte(title + " (" + std::to_string(k + 1) + ")");
            EcrireFinParagraphe();
            EcrireParagraphe(normal);
            EcrireFinParagraphe();
        }
        if (TablePieces::IsWhole(table, pieces[k])) {
            WritePiece(table, needs, before, after);
        } else {
            const std::unique_ptr<CTableau> piece = TablePieces::Build(table, pieces[k]);
            WritePiece(*piece, PieceNeeds(needs, table.DonnerNbColonnesEnTete(), pieces[k]), before, after);
        }
    }
}

void CFichierRtf::WritePiece(const CTableauBase& piece, const std::vector<std::int32_t>& columnNeeds,
                             std::string_view before, std::string_view after) {
    CElementRtf element(*this);
    element.EcrireEntete(m_portrait);
    if (!before.empty())
        EcrireLigne(before);
    element.EcrireMorceau(piece, columnNeeds);
    EcrireParagraphe(StringTable::Text(StringTable::kStyleNormal));
    if (!after.empty())
        EcrireLigne(after);
    EcrireFinParagraphe();
}

bool CFichierRtf::EcrireGraphique(const CTableauBase& table) {
    ChartPictures* pictures = ChartPictures::Installed();
    return pictures != nullptr &&
           EcrirePicture(pictures->DessinerGraphique(table), kLargeurGraphique, kHauteurGraphique);
}

bool CFichierRtf::EcrirePicture(const std::vector<std::uint8_t>& png, std::int32_t widthTwips,
                                std::int32_t heightTwips) {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!PngSize(png, width, height))
        return false;
    EcrireLigne("\\pard \\plain");
    EcrireLigne("{\\pict\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0\\picw" +
                std::to_string(width) + "\\pich" + std::to_string(height) + "\\picwgoal" + std::to_string(widthTwips) +
                "\\pichgoal" + std::to_string(heightTwips) + "\\pngblip");
    EcrireLigne("");
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string line;
    line.reserve(2 * kPictureBytesPerLine);
    for (std::size_t i = 0; i < png.size(); ++i) {
        line += kDigits[png[i] >> 4];
        line += kDigits[png[i] & 0x0F];
        if (line.size() == 2 * kPictureBytesPerLine || i + 1 == png.size()) {
            EcrireLigne(line);
            line.clear();
        }
    }
    EcrireLigne("}");
    EcrireLigne("\\par \\par");
    return true;
}

bool CFichierRtf::EcrireFin() {
    if (!m_file) {
        if (m_error.id == 0)
            m_error = Message(StringTable::kImpossibleOuvrirFichier, {m_path});
        return false;
    }
    EcrireLigne("}");
    const bool written = m_file->Commit();
    if (!written)
        m_error = m_file->GetError();
    m_file.reset();
    return written;
}
