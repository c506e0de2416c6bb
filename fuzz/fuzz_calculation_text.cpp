// The definition texts of style calculations and the text of a whole style, as the style table
// stores them: a text that parses writes a text that parses back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/FuzzSurvey.h"
#include "tabulation/CalculEvolue.h"
#include "tabulation/Style.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Survey();
    const std::string text(reinterpret_cast<const char*>(data), size);

    if (auto calculation = CCalculEvolue::LireDefinition(text); calculation && calculation->SontTextesAutorises()) {
        const std::string written = calculation->DonnerDefinition();
        auto again = CCalculEvolue::LireDefinition(written);
        if (!again || again->DonnerDefinition() != written)
            std::abort();
    }

    CStyle style;
    style.LireChaine(text);
    Message refusal;
    if (style.VerifierTextes(refusal)) {
        const std::string written = style.DonnerChaine();
        CStyle again;
        again.LireChaine(written);
        if (again.DonnerChaine() != written)
            std::abort();
    }
    return 0;
}
