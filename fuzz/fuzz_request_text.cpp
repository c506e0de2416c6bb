// The request text of qesrun, read against the fuzz survey: a refused text says what is wrong and
// names a line of the text (or none); an accepted one is a request the runner knows how to compute,
// whose archive reads back to the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/FuzzSurvey.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Traitement.h"
#include "tools/qesrun/RequestText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CContexteEtude& survey = fuzz::Survey();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qesrun::RequestText::Result parsed = qesrun::RequestText::Parse(text, survey);
    if (!parsed.request) {
        const auto lines = std::count(text.begin(), text.end(), '\n') + 1;
        if (parsed.error.empty() || parsed.line < 0 || parsed.line > lines)
            std::abort();
        return 0;
    }
    CTraitement& request = *parsed.request;
    const char* compute = CExecuteurTraitement::DonnerNomCalcul(
        request.GetTypeAxe(CTraitement::kLignes), request.GetTypeAxe(CTraitement::kColonnes), request.type);
    if (compute == nullptr || *compute == '\0')
        std::abort();
    fuzz::CheckStable(request, 405);
    return 0;
}
