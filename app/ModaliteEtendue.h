#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/questionnaire/Modalite.h"

class CEnquete;

// The program's modality: the questionnaire model's modality with what a table request sets on
// it (shown or not, the four display options of its row) and the survey whose languages give
// its captions.
class CModaliteEtendue : public CModalite {
public:
    // An empty modality of the survey, selected, options off.
    explicit CModaliteEtendue(CEnquete* survey);
    // A copy of the model's modality (code, value, captions), selected, options off.
    CModaliteEtendue(CEnquete* survey, const CModalite& model);
    // Everything: the model part, the extra word, the six flags, the values and the survey.
    CModaliteEtendue(const CModaliteEtendue& other);
    // The model part, the extra word, the six flags and the values; the survey stays.
    CModaliteEtendue& operator=(const CModaliteEtendue& other);
    ~CModaliteEtendue() override = default;

    std::unique_ptr<CModalite> Clone() const override;

    // Takes the extra word, the selected flag, the four display options and the values of the
    // other; the calculation-line flag and the model part stay.
    void CopierExtension(const CModaliteEtendue& other);

    // The short caption in the survey's current language, or in its default language when that
    // one is empty.
    const std::string& GetShortCaption() const;
    void SetShortCaption(const std::string& text);
    void SetDefaultShortCaption(const std::string& text);

    CEnquete* GetEnquete() const { return m_survey; }

    // The short caption of any modality as the survey shows it (current language, else the
    // default one); a modality without a survey answers its caption in language 0.
    static const std::string& ShortCaptionFor(const CModalite& modality, const CEnquete* survey);

    std::int32_t extraWord = 0;
    bool selected = true;                    // shown as a row or column of the next table
    std::array<bool, 4> displayOptions{};    // the options of the request row that selected it
    bool calculationLine = false;            // stands for a calculation line, not an answer
    std::vector<std::int32_t> values;

private:
    void CopyExtensionFrom(const CModaliteEtendue& other);

    CEnquete* m_survey = nullptr; // not owned
};
