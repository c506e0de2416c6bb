// The CSV reader of statistics-run: any bytes are a table or a refusal naming the file, and every
// cell of a table reads as a number or as a refusal, never past the table.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tools/statrun/CsvTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string error;
    const std::optional<statrun::CsvTable> table = statrun::CsvTable::Parse("fuzz.csv", in, error);
    if (!table) {
        if (error.rfind("fuzz.csv:", 0) != 0)
            std::abort();
        return 0;
    }
    if (table->RowCount() == 0)
        std::abort();
    for (std::size_t row = 0; row <= table->RowCount(); ++row) {
        for (std::size_t column = 0; column <= table->Columns().size(); ++column) {
            error.clear();
            const std::optional<double> value = table->Number(row, column, error);
            const bool inside = row < table->RowCount() && column < table->Columns().size();
            if ((!inside && value) || (!value && error.empty()) || (value && std::isinf(*value)))
                std::abort();
        }
    }
    return 0;
}
