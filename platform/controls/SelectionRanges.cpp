#include "platform/controls/SelectionRanges.h"

#include <algorithm>

namespace ostrana::detail {

std::vector<SelectionRanges::Range>::iterator SelectionRanges::LowerBound(int index) {
    return std::lower_bound(m_ranges.begin(), m_ranges.end(), index, [](const Range& range, int value) { return range.last < value; });
}

std::vector<SelectionRanges::Range>::const_iterator SelectionRanges::LowerBound(int index) const {
    return std::lower_bound(m_ranges.begin(), m_ranges.end(), index, [](const Range& range, int value) { return range.last < value; });
}

bool SelectionRanges::Contains(int index) const {
    auto it = LowerBound(index);
    return it != m_ranges.end() && it->first <= index;
}

void SelectionRanges::Add(int first, int last) {
    if (first > last) return;
    // Ranges touching [first - 1, last + 1] merge with the new one.
    auto begin = LowerBound(first - 1);
    auto end = begin;
    while (end != m_ranges.end() && end->first <= last + 1) {
        first = std::min(first, end->first);
        last = std::max(last, end->last);
        ++end;
    }
    auto at = m_ranges.erase(begin, end);
    m_ranges.insert(at, Range{first, last});
}

void SelectionRanges::Remove(int first, int last) {
    if (first > last) return;
    auto begin = LowerBound(first);
    auto end = begin;
    std::vector<Range> kept;
    while (end != m_ranges.end() && end->first <= last) {
        if (end->first < first) kept.push_back(Range{end->first, first - 1});
        if (end->last > last) kept.push_back(Range{last + 1, end->last});
        ++end;
    }
    auto at = m_ranges.erase(begin, end);
    m_ranges.insert(at, kept.begin(), kept.end());
}

int SelectionRanges::Count() const {
    int count = 0;
    for (const Range& range : m_ranges) count += range.last - range.first + 1;
    return count;
}

int SelectionRanges::Next(int after) const {
    int from = after + 1;
    auto it = LowerBound(from);
    if (it == m_ranges.end()) return -1;
    return std::max(it->first, from);
}

int SelectionRanges::Previous(int before) const {
    int from = before - 1;
    if (from < 0) return -1;
    auto it = LowerBound(from);
    if (it != m_ranges.end() && it->first <= from) return from;
    if (it == m_ranges.begin()) return -1;
    return std::prev(it)->last;
}

void SelectionRanges::Insert(int index) {
    auto it = LowerBound(index);
    if (it == m_ranges.end()) return;
    if (it->first < index) {
        // The new row splits the range it lands in; it is not selected itself.
        Range tail{index + 1, it->last + 1};
        it->last = index - 1;
        it = m_ranges.insert(it + 1, tail) + 1;
    }
    for (; it != m_ranges.end(); ++it) {
        ++it->first;
        ++it->last;
    }
}

void SelectionRanges::Erase(int index) {
    Remove(index, index);
    auto it = LowerBound(index);
    for (auto shift = it; shift != m_ranges.end(); ++shift) {
        --shift->first;
        --shift->last;
    }
    // The gap at `index` closed: the ranges on either side may now touch.
    if (it != m_ranges.begin() && it != m_ranges.end() && std::prev(it)->last + 1 == it->first) {
        std::prev(it)->last = it->last;
        m_ranges.erase(it);
    }
}

} // namespace ostrana::detail
