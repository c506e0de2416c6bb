#include "framework/DocumentSource.h"

#include <utility>

DocumentSource DocumentSource::FromPath(std::string path) {
    DocumentSource source;
    source.m_kind = Kind::kPath;
    source.m_path = std::move(path);
    return source;
}
