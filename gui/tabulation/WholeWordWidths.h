#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct CCellule;
class CPoliceAna;
class FontMetricsSource;

// The room that the whole words and numbers of a table's cell records need, each measured with
// the font its record is drawn in (a bold Total figure is wider than a regular one): for every
// record that holds a text, its widest whole word (TextWrapping::WholeWords), its first
// displayed column and the columns it covers.
//
// The records of a table cut after some of its columns are those of the table that start before
// the cut, each reaching to the cut at most; so the room of every band of columns from the
// table's first can be read from the records of the whole table, without laying each band out.
class WholeWordWidths {
public:
    // `metrics` must outlive the object.
    explicit WholeWordWidths(const FontMetricsSource& metrics) : m_metrics(metrics) {}

    // A record with its text before any wrapping, and its font. The records added share one list
    // of fonts: the same text at the same font index is measured once.
    void Add(const CCellule& cell, const CPoliceAna& font);

    // The smallest unit of the shared widths (a header column being two units) at which every
    // record starting in the first `gridColumns` displayed columns keeps its words whole within
    // its text area, `cellMargin` on both sides, a record reaching past them being counted over
    // those columns only: the room of the table cut after them. 0 when no record holds text.
    double Unit(std::int32_t headerColumns, std::int32_t gridColumns, int cellMargin) const;
    // The same when the records are those of a table cut after its first `readColumns` displayed
    // columns and `gridColumns` is more: the records that reach the cut are left out, as their
    // blocks may reach further in the wider table, so that the unit is the least it can need.
    double LeastUnit(std::int32_t headerColumns, std::int32_t gridColumns, int cellMargin,
                     std::int32_t readColumns) const;

private:
    struct Need {
        std::int32_t column = 0;
        std::int32_t span = 1;
        int width = 0;
    };

    const FontMetricsSource& m_metrics;
    std::vector<Need> m_needs;
    // The values of a table repeat ("0", "100.0 %"): each text is measured once per font.
    std::map<std::pair<std::int32_t, std::string>, int> m_widestByText;
};
