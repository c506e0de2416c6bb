#include "app/ResponseReader.h"

#include "app/Enquete.h"

CResponseReader::CResponseReader(CEnquete* survey, bool wishInverted)
    : m_survey(survey), m_useInverted(wishInverted && survey != nullptr && survey->invertedFilesValid) {}
