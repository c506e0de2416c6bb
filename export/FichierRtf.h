#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/Message.h"

class CPoliceAna;
class CPresentationTableau;
class CTableauBase;
class ExportFile;

// Writes a word-processor document in the Rich Text Format: a header with the font, colour and
// style tables and the A4 page set-up, then paragraphs, result tables as bordered RTF tables cut
// into pieces that fit a page, and pictures (PNG). Every line ends with CR LF.
//
// Callers keep this order: the constructor, Ouvrir, AjouterStyle for the styles they use,
// FormaterPolice for every font of the tables to come (a font met only later would get a number
// beyond the font table already written), EcrireEntete, then paragraphs, tables and pictures,
// then EcrireFin, which closes the file and gives it its name.
//
// The document is written under a temporary name beside the target (ExportFile): a failure of
// any write, of the close or of the rename, or the writer going away before EcrireFin, removes it
// and leaves the target as it was. After a failure every later write does nothing; GetErreur
// tells what went wrong.
//
// Our text is UTF-8; the RTF holds ASCII only (RtfText): labels cannot break its groups and keep
// every letter.
class CFichierRtf {
public:
    explicit CFichierRtf(std::string path);
    virtual ~CFichierRtf();
    CFichierRtf(const CFichierRtf&) = delete;
    CFichierRtf& operator=(const CFichierRtf&) = delete;

    // Creates the file (refusing the open questionnaire, a folder, a read-only file: see
    // ExportFile) and writes the document's first line. False with GetErreur set.
    bool Ouvrir(const std::string& questionnairePath = std::string());

    // The sizes of the documents' title and normal paragraph styles, and their font: Times New
    // Roman at that size.
    static constexpr double kTailleTitre = 12.0;
    static constexpr double kTailleNormal = 10.0;
    static CPoliceAna PoliceDeStyle(double size);

    // Registers a paragraph style (its face and colour join the tables) under a name.
    void AjouterStyle(const std::string& name, const CPoliceAna& font);
    // The character formatting of a font ("\b\i\f0\fs20 \cf1 "); registers its face and colour,
    // and for a shaded font the grey of shaded cells.
    virtual std::string FormaterPolice(const CPoliceAna& font);
    // Font table, colour table, style sheet, information and page set-up.
    virtual void EcrireEntete(bool portrait);
    // Starts a paragraph in a registered style; nothing for an unknown name.
    virtual void EcrireParagraphe(const std::string& styleName);
    // Text of a paragraph, each line break becoming "\par ".
    void EcrireTexte(std::string_view text);
    void EcrireFinParagraphe();
    // One line of RTF as it stands (already escaped), then CR LF.
    virtual void EcrireLigne(std::string_view line);

    // A result table, cut into pieces by the "Tableau" settings of lines and columns per table for
    // the document's orientation. Pieces after the first are preceded by a paragraph in
    // `titleStyle` holding "title (n)" when the style name is not empty.
    void EcrireTableau(const CTableauBase& table, const std::string& titleStyle, const std::string& title);

    // The table's chart as a picture of 158 x 105 mm, drawn by the installed ChartPictures. False,
    // and nothing written, when none is installed (the programs without windows chart nothing).
    bool EcrireGraphique(const CTableauBase& table);
    static constexpr std::int32_t kLargeurGraphique = 8957; // twips
    static constexpr std::int32_t kHauteurGraphique = 5953;

    // A PNG picture, shown at widthTwips x heightTwips; its size in pixels is read from the
    // picture itself. False, and nothing written, for bytes that are not a PNG picture.
    bool EcrirePicture(const std::vector<std::uint8_t>& png, std::int32_t widthTwips, std::int32_t heightTwips);

    // Ends the document, closes it and renames it over the target. False when anything failed
    // since Ouvrir; the partial file is then gone.
    bool EcrireFin();

    bool EstPortrait() const { return m_portrait; }
    const Message& GetErreur() const { return m_error; }

    // Registered names, in order: faces (a face's RTF number is its index) and colours
    // (0x00BBGGRR; a colour's number is its index + 1).
    const std::vector<std::string>& Faces() const { return m_faces; }
    const std::vector<std::uint32_t>& Couleurs() const { return m_colours; }
    // The colour number of the grey behind shaded cells (0 until a shaded font was formatted).
    std::int32_t NumeroGrisOmbre() const { return m_shadeColour; }

protected:
    // The piece writer's own: no file.
    struct NoFile {};
    explicit CFichierRtf(NoFile);

    void SetPortrait(bool portrait) { m_portrait = portrait; }

private:
    struct Style {
        std::string name;
        std::string code;
        std::int32_t number = 0;
    };

    std::int32_t FaceNumber(const std::string& face);
    std::int32_t ColourNumber(std::uint32_t colour);
    std::string CharacterFormat(const CPoliceAna& font);
    void WritePiece(const CTableauBase& piece, const std::vector<std::int32_t>& columnNeeds,
                    std::string_view before, std::string_view after);

    std::string m_path;
    std::unique_ptr<ExportFile> m_file;
    std::vector<std::string> m_faces;
    std::vector<Style> m_styles;
    std::vector<std::uint32_t> m_colours;
    std::int32_t m_shadeColour = 0;
    bool m_portrait = true;
    Message m_error;
    std::string m_line; // reused for every line written
};
