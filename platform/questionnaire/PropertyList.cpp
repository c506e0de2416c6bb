#include "platform/questionnaire/PropertyList.h"

#include <algorithm>

namespace {

constexpr char kEscape = '\\';
constexpr char kNameEnd = '=';
constexpr char kPropertyEnd = ';';

// Each escaped character and the letter that stands for it after the backslash.
struct Escape {
    char character;
    char letter;
};

constexpr Escape kEscapes[] = {
    {'\\', '\\'}, {'=', 'e'}, {';', 's'}, {'|', 'p'}, {'\n', 'n'}, {'\r', 'r'},
};

void AppendEscaped(std::string& out, const std::string& text) {
    for (const char c : text) {
        const auto* escape =
            std::find_if(std::begin(kEscapes), std::end(kEscapes), [c](const Escape& e) { return e.character == c; });
        if (escape == std::end(kEscapes)) {
            out.push_back(c);
        } else {
            out.push_back(kEscape);
            out.push_back(escape->letter);
        }
    }
}

char Unescape(char letter) {
    const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                      [letter](const Escape& e) { return e.letter == letter; });
    return escape == std::end(kEscapes) ? letter : escape->character;
}

} // namespace

void CPropertyList::SetString(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> properties;
    std::string name;
    std::string value;
    bool inValue = false;
    bool itemStarted = false;
    const auto endItem = [&] {
        if (itemStarted)
            properties.emplace_back(std::move(name), std::move(value));
        name.clear();
        value.clear();
        inValue = false;
        itemStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == kPropertyEnd) {
            endItem();
            continue;
        }
        itemStarted = true;
        if (c == kNameEnd && !inValue) {
            inValue = true;
            continue;
        }
        const char literal = (c == kEscape && i + 1 < text.size()) ? Unescape(text[++i]) : c;
        (inValue ? value : name).push_back(literal);
    }
    endItem();
    m_properties = std::move(properties);
}

std::string CPropertyList::GetString() const {
    std::string text;
    for (const auto& [name, value] : m_properties) {
        AppendEscaped(text, name);
        text.push_back(kNameEnd);
        AppendEscaped(text, value);
        text.push_back(kPropertyEnd);
    }
    return text;
}

void CPropertyList::SetProperty(const std::string& name, const std::string& value) {
    const auto found = std::find_if(m_properties.begin(), m_properties.end(),
                                    [&name](const auto& property) { return property.first == name; });
    if (found == m_properties.end())
        m_properties.emplace_back(name, value);
    else
        found->second = value;
}

void CPropertyList::GetNamesAndValues(std::vector<std::string>& names, std::vector<std::string>& values) const {
    names.clear();
    values.clear();
    for (const auto& [name, value] : m_properties) {
        names.push_back(name);
        values.push_back(value);
    }
}
