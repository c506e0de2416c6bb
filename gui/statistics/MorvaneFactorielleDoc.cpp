#include "gui/statistics/MorvaneFactorielleDoc.h"

#include "framework/DocumentSource.h"

bool CMorvaneFactorielleDoc::OnOpenDocument(const DocumentSource& source) {
    const std::uint16_t* type = source.GetObject<const std::uint16_t>();
    m_type = type != nullptr ? *type : 0;
    return true;
}

bool CMorvaneFactorielleDoc::OnNewDocument() {
    m_type = 0;
    return true;
}
