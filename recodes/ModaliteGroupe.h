#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/ModaliteEtendue.h"

class CEnquete;
class CModalite;

// One node of a sub-total recode: a modality of the program with its depth in the tree of
// sub-totals (0 for a top entry, 1 under it, and so on). Code 0 marks a sub-total made by the
// analyst; any other code stands for the source modality of that code.
class CModaliteGroupe : public CModaliteEtendue {
public:
    // An empty top-level node of the survey.
    explicit CModaliteGroupe(CEnquete* survey);
    // A node with its code, its caption in the survey's default language and its level.
    CModaliteGroupe(CEnquete* survey, std::int32_t modalityCode, const std::string& caption, std::int16_t groupLevel);
    // A top-level node copying a plain modality (code, value, captions).
    CModaliteGroupe(CEnquete* survey, const CModalite& model);
    CModaliteGroupe(const CModaliteGroupe& other) = default;
    CModaliteGroupe& operator=(const CModaliteGroupe& other) = default;
    ~CModaliteGroupe() override = default;

    std::unique_ptr<CModalite> Clone() const override;

    std::int16_t level = 0;
};
