#include "tabulation/Style.h"

#include <utility>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/IdName.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "platform/questionnaire/StaticTools.h"

namespace {

constexpr char kStyleSeparator = '|';

// First word of the archive: where the calculations are.
constexpr std::uint32_t kDefinedInRequest = 0;
constexpr std::uint32_t kStoredInQuestionnaire = 1;

// The smallest record of a calculation: kind, type, position, level (4 + 2 + 2 + 4 bytes) and
// three strings of one length byte at least.
constexpr std::size_t kSmallestCalculationRecord = 15;

} // namespace

CStyle::CStyle(const CStyle& other) : CObjet(other), id(other.id), name(other.name) {
    m_calculations.reserve(other.m_calculations.size());
    for (const auto& calculation : other.m_calculations)
        m_calculations.push_back(std::make_unique<CCalculEvolue>(*calculation));
}

CStyle& CStyle::operator=(const CStyle& other) {
    if (this != &other) {
        CStyle copy(other);
        id = copy.id;
        name = std::move(copy.name);
        m_calculations = std::move(copy.m_calculations);
    }
    return *this;
}

int CStyle::Add(std::unique_ptr<CCalculEvolue> calculation) {
    if (!calculation)
        return -1;
    m_calculations.push_back(std::move(calculation));
    return GetCount() - 1;
}

CCalculEvolue* CStyle::GetAt(int i) const {
    if (i < 0 || i >= GetCount())
        return nullptr;
    return m_calculations[static_cast<std::size_t>(i)].get();
}

std::string CStyle::DonnerChaine() const {
    std::string text;
    for (const auto& calculation : m_calculations)
        text += calculation->DonnerDefinition() + kStyleSeparator;
    return text;
}

void CStyle::LireChaine(const std::string& text) {
    std::vector<std::string> parts;
    CStaticTools::LireChaineSeparateurString(text, kStyleSeparator, parts);
    std::vector<std::unique_ptr<CCalculEvolue>> calculations;
    for (const std::string& part : parts)
        if (auto calculation = CCalculEvolue::LireDefinition(part))
            calculations.push_back(std::move(calculation));
    m_calculations = std::move(calculations);
}

bool CStyle::VerifierTextes(Message& refusal) const {
    for (const auto& calculation : m_calculations)
        if (!calculation->SontTextesAutorises()) {
            refusal = CCalculEvolue::MessageCaracteresInterdits();
            return false;
        }
    return true;
}

void CStyle::Serialize(CArchiveVersion& archive) {
    if (archive.IsStoring()) {
        Store(archive);
        return;
    }
    CStyle loaded;
    loaded.Load(archive);
    *this = std::move(loaded);
}

void CStyle::Store(CArchiveVersion& archive) const {
    if (id >= 1) {
        archive << kStoredInQuestionnaire << name;
        return;
    }
    archive << kDefinedInRequest;
    archive.WriteCount(static_cast<std::uint32_t>(m_calculations.size()));
    for (const auto& calculation : m_calculations)
        calculation->Serialize(archive);
}

void CStyle::Load(CArchiveVersion& archive) {
    std::uint32_t where = 0;
    archive >> where;
    if (where == kDefinedInRequest) {
        const std::uint32_t count = archive.ReadBoundedCount(kSmallestCalculationRecord);
        m_calculations.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            auto calculation = std::make_unique<CCalculEvolue>();
            calculation->Serialize(archive);
            m_calculations.push_back(std::move(calculation));
        }
        return;
    }
    if (where == kStoredInQuestionnaire) {
        std::string storedName;
        archive >> storedName;
        name = storedName;
        LireStyleEnregistre(storedName);
    }
}

bool CStyle::LireStyleEnregistre(const std::string& storedName) {
    CContexteEtude* context = GetContexte();
    if (context == nullptr)
        return false;
    CDBQuestionnaire database(*context, &context->GetUserInterface());
    std::vector<std::unique_ptr<CIdName>> styles;
    if (!database.GetStyleList(styles))
        return false;
    for (const auto& entry : styles)
        if (entry && entry->name == storedName)
            return database.ReadStyle(entry->id, *this);
    return false;
}
