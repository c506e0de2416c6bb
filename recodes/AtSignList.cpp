#include "recodes/AtSignList.h"

#include "platform/questionnaire/StaticTools.h"

std::string AtSignList::Write(const std::vector<double>& values, int precision) {
    std::string text;
    for (double value : values) {
        text += CStaticTools::FormatG(value, precision);
        text += kSeparator;
    }
    return text;
}

std::vector<double> AtSignList::Read(const std::string& text) {
    std::vector<double> values;
    CStaticTools::LireChaineSeparateurDouble(text, kSeparator, values);
    return values;
}
