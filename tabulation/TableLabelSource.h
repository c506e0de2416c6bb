#pragma once

#include <cstdint>

class CLigne;

// Where a CTableauFactoriel takes its header labels from: the analysis that built the table
// (factor, cluster or text analysis) answers the label of an index at a header level, for the
// rows or for the columns as the selector says. The label stays the source's; null means none.
class TableLabelSource {
public:
    virtual ~TableLabelSource() = default;
    virtual const CLigne* Label(std::int32_t selector, std::int32_t level, std::int32_t index) const = 0;

protected:
    TableLabelSource() = default;
    TableLabelSource(const TableLabelSource&) = default;
    TableLabelSource& operator=(const TableLabelSource&) = default;
};
