#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/questionnaire/PropertyList.h"

namespace {

using Properties = std::vector<std::pair<std::string, std::string>>;

Properties Read(const std::string& text) {
    CPropertyList list;
    list.SetString(text);
    std::vector<std::string> names{"old"};
    std::vector<std::string> values{"old"};
    list.GetNamesAndValues(names, values);
    Properties properties;
    for (std::size_t i = 0; i < names.size(); ++i)
        properties.emplace_back(names[i], values[i]);
    return properties;
}

TEST(PropertyList, AnyTextRoundTrips) {
    const Properties properties = {
        {"1036", "Sous-total"},
        {"1033", "a=b;c|d\ne\r\\f"},
        {"", ""},
        {"=;|", "\\e\\s\\p\\"}, // escapes written literally, and a final backslash
        {"2060", "Fréquence"},
        {"1031", "=leading and trailing;"},
    };
    CPropertyList list;
    for (const auto& [name, value] : properties)
        list.SetProperty(name, value);
    const std::string text = list.GetString();
    EXPECT_EQ(text.find('|'), std::string::npos);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(Read(text), properties);
}

TEST(PropertyList, TextForm) {
    CPropertyList list;
    list.SetProperty("1036", "Oui; non");
    list.SetProperty("1033", "Yes=1");
    list.SetProperty("1036", "Oui"); // replaces, keeps the place
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetString(), "1036=Oui;1033=Yes\\e1;");
    list.SetProperty("1036", "a|b\\c");
    EXPECT_EQ(list.GetString(), "1036=a\\pb\\\\c;1033=Yes\\e1;");
    list.SetString("");
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetString(), "");
}

TEST(PropertyList, LenientReading) {
    const std::pair<const char*, Properties> cases[] = {
        {"a=1;b=2", {{"a", "1"}, {"b", "2"}}},    // no final separator
        {"Sous total 1", {{"Sous total 1", ""}}}, // a plain caption: one name
        {"a=1=2;", {{"a", "1=2"}}},
        {";;a=1;;", {{"a", "1"}}},
        {"", {}},
        {"=;", {{"", ""}}},
        {"a\\", {{"a\\", ""}}},         // a lone final backslash is kept
        {"\\qx=1", {{"qx", "1"}}},      // an unknown escape keeps its character
        {"k=\\s\\e\\n;", {{"k", ";=\n"}}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << text << "\"");
        EXPECT_EQ(Read(text), expected);
    }
}

} // namespace
