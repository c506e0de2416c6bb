#include "platform/db/FieldType.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

namespace db {

namespace {

// One row per field type: the name DAO gave it, the declared SQLite type that stands for it, and
// how its values are held. Each declared type is chosen for the column affinity it gives: "TEXT"
// in a name gives text affinity (so a text like "007" stays a text), "DOUB" gives real affinity,
// and the others numeric affinity. None of them contains "INT", which SQLite would read as
// integer affinity and which "INTEGER" alone keeps for the AutoNumber key.
struct FieldTypeRow {
    FieldType type;
    std::string_view name;
    std::string_view declared;
    bool floating;
    std::optional<IntegerRange> range;
};

constexpr long long kLongMin = std::numeric_limits<std::int32_t>::min();
constexpr long long kLongMax = std::numeric_limits<std::int32_t>::max();

constexpr FieldTypeRow kFieldTypes[] = {
    {FieldType::Boolean, "Boolean", "BOOLEAN", false, std::nullopt},
    {FieldType::Byte, "Byte", "BYTE", false, IntegerRange{0, 255}},
    {FieldType::Integer, "Integer", "SHORT", false, IntegerRange{-32768, 32767}},
    {FieldType::Long, "Long", "LONG", false, IntegerRange{kLongMin, kLongMax}},
    {FieldType::Currency, "Currency", "CURRENCY", true, std::nullopt},
    {FieldType::Single, "Single", "SINGLE", true, std::nullopt},
    {FieldType::Double, "Double", "DOUBLE", true, std::nullopt},
    {FieldType::Date, "Date", "DATETIME", true, std::nullopt},
    {FieldType::Text, "Text", "TEXT", false, std::nullopt},
    {FieldType::Memo, "Memo", "LONGTEXT", false, std::nullopt},
    {FieldType::AutoNumber, "AutoNumber", "INTEGER", false, IntegerRange{1, kLongMax}},
    {FieldType::Other, "Other", "", false, std::nullopt},
};

constexpr int kMaximumTextSize = 255;

const FieldTypeRow& rowOf(FieldType type) {
    return *std::find_if(std::begin(kFieldTypes), std::end(kFieldTypes),
                         [type](const FieldTypeRow& row) { return row.type == type; });
}

std::string upperTrimmed(std::string_view text) {
    std::string result;
    for (const char c : text) {
        if (c != ' ' && c != '\t') {
            result += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    return result;
}

// "TEXT(50)" gives 50; a bare "TEXT" gives the largest size.
std::optional<int> textSizeOf(std::string_view declared) {
    constexpr std::string_view prefix = "TEXT";
    if (!declared.starts_with(prefix)) {
        return std::nullopt;
    }
    declared.remove_prefix(prefix.size());
    if (declared.empty()) {
        return kMaximumTextSize;
    }
    if (declared.front() != '(' || declared.back() != ')') {
        return std::nullopt;
    }
    declared = declared.substr(1, declared.size() - 2);
    int size = 0;
    const auto [stop, error] = std::from_chars(declared.data(), declared.data() + declared.size(), size);
    if (error != std::errc() || stop != declared.data() + declared.size() || size <= 0) {
        return std::nullopt;
    }
    return size;
}

} // namespace

std::string declaredTypeOf(FieldType type, int textSize) {
    if (type == FieldType::Text) {
        const int size = (textSize <= 0 || textSize > kMaximumTextSize) ? kMaximumTextSize : textSize;
        return "TEXT(" + std::to_string(size) + ")";
    }
    return std::string(rowOf(type).declared);
}

FieldInfo describeColumn(std::string name, std::string_view declaredType, bool isRowIdKey) {
    FieldInfo info{std::move(name), FieldType::Other, 0, std::string(declaredType)};
    const std::string declared = upperTrimmed(declaredType);
    if (const auto size = textSizeOf(declared)) {
        info.type = FieldType::Text;
        info.textSize = *size;
        return info;
    }
    for (const FieldTypeRow& row : kFieldTypes) {
        if (!row.declared.empty() && row.declared == declared) {
            info.type = row.type;
        }
    }
    if (info.type == FieldType::AutoNumber && !isRowIdKey) {
        info.type = FieldType::Other;
    }
    return info;
}

std::optional<IntegerRange> integerRangeOf(FieldType type) {
    return rowOf(type).range;
}

bool isFloatingType(FieldType type) {
    return rowOf(type).floating;
}

std::string_view fieldTypeName(FieldType type) {
    return rowOf(type).name;
}

} // namespace db
