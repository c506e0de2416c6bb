// The fixture description of qesbuild with its inline records: a fault is a FixtureError naming
// a line; what is accepted holds records whose rows have as many cells as their header, each
// cell reading as a value of every field type or refused as a cell of that type is refused.
// Record files are looked up in a folder that does not exist, so only the text is read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "platform/db/FieldType.h"
#include "tools/qesbuild/CellValue.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/FixtureError.h"

namespace {

constexpr db::FieldType kCellTypes[] = {db::FieldType::Boolean, db::FieldType::Byte,   db::FieldType::Integer,
                                        db::FieldType::Long,    db::FieldType::Double, db::FieldType::Date,
                                        db::FieldType::Text};

void ReadCells(const qesbuild::CsvTable& table) {
    for (const qesbuild::CsvTable::Row& row : table.rows()) {
        if (row.cells.size() != table.header().size() || row.line < table.headerLine())
            std::abort();
        for (const qesbuild::CsvTable::Cell& cell : row.cells)
            for (db::FieldType type : kCellTypes) {
                try {
                    qesbuild::CellValue(cell, type);
                } catch (const std::invalid_argument&) {
                }
            }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path nowhere =
        std::filesystem::temp_directory_path() / "morvane-fuzz-no-such-folder";
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const qesbuild::FixtureDescription fixture =
            qesbuild::DescriptionParser::Parse(text, "fuzz.txt", nowhere);
        if (!fixture.questionnaire)
            std::abort();
        for (const qesbuild::FixtureDescription::Records& records : fixture.records)
            ReadCells(records.table);
    } catch (const qesbuild::FixtureError& error) {
        if (error.line() < 0)
            std::abort();
    }
    return 0;
}
