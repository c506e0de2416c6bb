#pragma once

#include "app/Message.h"

#include <cstdint>
#include <string>
#include <vector>

// A perceptual map out of the program: one RTF document holding its name as a heading in the
// style "Titre 1" (Times New Roman 12 points), an empty "Normal" paragraph (Times New Roman 10
// points), then the map as a square PNG picture shown 158 mm wide and high. The file is made
// whole or not at all, never over the open questionnaire (ExportFile).
namespace MappingRtf {

// The shown side of a map's picture: 158 mm in twips.
constexpr std::int32_t kCoteTwips = 8957;

bool ExporterMappingWord(const std::string& title, const std::vector<std::uint8_t>& png,
                         const std::string& path, const std::string& questionnairePath, Message& error);

} // namespace MappingRtf
