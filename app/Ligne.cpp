#include "app/Ligne.h"

#include "app/ModaliteEtendue.h"

CLigne::CLigne(const CModaliteEtendue& modality)
    : code(modality.code), label(modality.GetShortCaption()), kept(modality.selected ? 1 : 0),
      bold(modality.displayOptions[0] ? 1 : 0), italic(modality.displayOptions[1] ? 1 : 0),
      underline(modality.displayOptions[2] ? 1 : 0), shadow(modality.displayOptions[3] ? 1 : 0),
      fromModality(1) {}

void CLigne::CreerLignesModalites(std::vector<std::unique_ptr<CLigne>>& target,
                                  const std::vector<std::unique_ptr<CModaliteEtendue>>& modalities) {
    std::vector<std::unique_ptr<CLigne>> lines;
    lines.reserve(modalities.size());
    for (const auto& modality : modalities)
        if (modality)
            lines.push_back(std::make_unique<CLigne>(*modality));
    target = std::move(lines);
}
