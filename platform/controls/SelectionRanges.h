// A set of row indexes kept as sorted, disjoint, non-adjacent closed ranges, so selecting all of
// 100,000 rows is one range. Rows inserted or removed shift the ranges behind them.
#pragma once

#include <vector>

namespace ostrana::detail {

class SelectionRanges {
public:
    struct Range {
        int first;
        int last;
    };

    bool Contains(int index) const;
    void Add(int first, int last);
    void Remove(int first, int last);
    void Clear() { m_ranges.clear(); }
    int Count() const;
    bool Empty() const { return m_ranges.empty(); }
    // The first member greater than `after` (-1 starts at 0), or -1.
    int Next(int after) const;
    // The last member less than `before`, or -1.
    int Previous(int before) const;
    // A row was inserted at `index`: members at or behind it move one down.
    void Insert(int index);
    // Row `index` was removed: it leaves the set and members behind it move one up.
    void Erase(int index);
    const std::vector<Range>& Ranges() const { return m_ranges; }

private:
    // The first range whose last member is at or after `index`.
    std::vector<Range>::iterator LowerBound(int index);
    std::vector<Range>::const_iterator LowerBound(int index) const;

    std::vector<Range> m_ranges;
};

} // namespace ostrana::detail
