#include "tools/qesrun/RequestArchive.h"

#include "app/StringTable.h"
#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/ArchiveVersion.h"

#include <utility>

namespace qesrun {

RequestArchive::Result RequestArchive::Load(const std::filesystem::path& path) {
    Result result;
    auto request = std::make_unique<CTraitement>();
    try {
        CArchiveVersion archive(path, CArchiveVersion::Mode::Load, kVersion);
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
