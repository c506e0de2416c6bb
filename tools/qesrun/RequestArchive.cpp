#include "tools/qesrun/RequestArchive.h"

#include "app/StringTable.h"
#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "tools/qesrun/TextFile.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace qesrun {

RequestArchive::Result RequestArchive::Load(const std::filesystem::path& path) {
    Result result;
    std::string reason;
    const std::optional<std::string> bytes = TextFile::Read(path, reason);
    if (!bytes) {
        result.errors.push_back("the request cannot be read: " + reason);
        return result;
    }
    auto request = std::make_unique<CTraitement>();
    try {
        CArchiveVersion archive(std::vector<std::uint8_t>(bytes->begin(), bytes->end()), kVersion);
        request->Serialize(archive);
        if (!archive.IsAtEnd())
            result.errors.push_back("the file holds more than one request");
        archive.Close();
    } catch (const ArchiveException& error) {
        result.errors.push_back(std::string("the request cannot be read: ") + error.what());
        return result;
    }
    for (const Message& message : request->GetMessagesInvalidite())
        result.errors.push_back(StringTable::Format(message));
    if (request->EstInvalide() && result.errors.empty())
        result.errors.push_back("the request names something the questionnaire does not have");
    if (result.errors.empty())
        result.request = std::move(request);
    return result;
}

} // namespace qesrun
