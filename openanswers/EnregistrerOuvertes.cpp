#include "openanswers/EnregistrerOuvertes.h"

#include <memory>
#include <string>

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/UserInterface.h"
#include "openanswers/FormeLemmatisee.h"
#include "openanswers/OuvCorpus.h"
#include "openanswers/Segment.h"
#include "openanswers/TableauxReponses.h"
#include "platform/questionnaire/RuntimeClassRegistry.h"
#include "tabulation/Tableau.h"
#include "tabulation/TablesOuvertes.h"

namespace {

// The dispatcher's open-answer tables over the lexical engine: each corpus is opened for the
// table and freed with it; a failure is shown and gives no table.
class OpenAnswerTables : public TablesOuvertes {
public:
    std::unique_ptr<CTableau> ConstruireTableauReponses(CContexteEtude& context, CQuestionEtendue& open) override {
        std::string error;
        auto table = TableauxReponses::ConstruireTableauReponses(context, open, error);
        return Shown(context, std::move(table), error);
    }
    std::unique_ptr<CTableau> ConstruireTableauReponsesSelon(CContexteEtude& context, CQuestionEtendue& open,
                                                             CQuestionEtendue& closed) override {
        std::string error;
        auto table = TableauxReponses::ConstruireTableauReponsesSelon(context, open, closed, error);
        return Shown(context, std::move(table), error);
    }
    std::unique_ptr<CTableau> ConstruireTableauDictionnaire(CContexteEtude& context, CQuestionEtendue& open,
                                                            int minimumFrequency, bool withStopWords,
                                                            int sortKey) override {
        COuvCorpus corpus(context, open);
        if (!Opened(context, corpus))
            return nullptr;
        return corpus.ConstruireTableauDictionnaire(minimumFrequency, withStopWords, sortKey);
    }
    std::unique_ptr<CTableau> ConstruireTableauSegments(CContexteEtude& context, CQuestionEtendue& open,
                                                        int minimumFrequency, int sortKey) override {
        COuvCorpus corpus(context, open);
        if (!Opened(context, corpus))
            return nullptr;
        if (!corpus.ChargerSegments()) {
            context.GetUserInterface().ShowMessage(corpus.GetErreur(), UserInterface::Icon::Warning);
            return nullptr;
        }
        return corpus.ConstruireTableauSegments(minimumFrequency, sortKey);
    }

private:
    static bool Opened(CContexteEtude& context, COuvCorpus& corpus) {
        if (corpus.Ouvrir())
            return true;
        context.GetUserInterface().ShowMessage(corpus.GetErreur(), UserInterface::Icon::Warning);
        return false;
    }
    static std::unique_ptr<CTableau> Shown(CContexteEtude& context, std::unique_ptr<CTableau> table,
                                           const std::string& error) {
        if (!table)
            context.GetUserInterface().ShowMessage(Message::Text(error), UserInterface::Icon::Warning);
        return table;
    }
};

constexpr const RuntimeClass* kClasses[] = {&CForme::kRuntimeClass, &CFormeLemmatisee::kRuntimeClass,
                                            &CSegment::kRuntimeClass};

} // namespace

void EnregistrerOuvertes() {
    for (const RuntimeClass* runtimeClass : kClasses)
        RuntimeClassRegistry::Register(*runtimeClass);
    TablesOuvertes::Enregistrer(std::make_unique<OpenAnswerTables>());
}
