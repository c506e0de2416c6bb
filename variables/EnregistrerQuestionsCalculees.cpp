#include "variables/EnregistrerQuestionsCalculees.h"

#include <memory>

#include "variables/CalculScript.h"
#include "variables/CalculVariable.h"
#include "variables/CalculerScript.h"
#include "variables/VariableCalculee.h"

namespace {

// The script language's evaluator behind the computation of "Par script" variables.
class ScriptLanguage : public CCalculScript {
public:
    bool Calculer(const std::string& script, CEnquete& survey, std::vector<double>& values,
                  Message& error) override {
        ScriptError fault;
        if (CalculerScript(script, survey, values, fault))
            return true;
        error = fault.WithPosition();
        return false;
    }
};

} // namespace

void EnregistrerQuestionsCalculees() {
    CQuestionCalculee::EnregistrerFabrique([] { return std::make_unique<CVariableCalculee>(); });
    CCalculVariable::EnregistrerCalculScript(std::make_unique<ScriptLanguage>());
}
