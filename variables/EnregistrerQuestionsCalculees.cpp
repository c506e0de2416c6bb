#include "variables/EnregistrerQuestionsCalculees.h"

#include <memory>

#include "variables/VariableCalculee.h"

void EnregistrerQuestionsCalculees() {
    CQuestionCalculee::EnregistrerFabrique([] { return std::make_unique<CVariableCalculee>(); });
}
