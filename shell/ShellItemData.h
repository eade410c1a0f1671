// The record of one local tree node or list row: the parent folder (one reference held), the
// item's own id, its absolute id, the attribute bits read when it was made, and, for list rows,
// the column texts and icon once they were first shown. Both id lists belong to the record.
#pragma once

#include <array>
#include <string>

#include "shell/ShellNamespace.h"

class ShellItemData {
public:
    static constexpr int kColumns = 4;

    // Takes over `relative`; the absolute list is `parentAbsolute` followed by it.
    ShellItemData(IShellFolder* parent, ShellIdList relative, LPCITEMIDLIST parentAbsolute, ULONG attributes);
    // The root: no parent folder, the absolute list is the relative one.
    ShellItemData(ShellIdList absolute, ULONG attributes);
    ShellItemData(const ShellItemData&) = delete;
    ShellItemData& operator=(const ShellItemData&) = delete;
    ~ShellItemData() = default;

    IShellFolder* ParentFolder() const { return m_parent.Get(); }
    LPCITEMIDLIST Relative() const { return m_relative.Get(); }
    LPCITEMIDLIST Absolute() const { return m_absolute.Get(); }
    ULONG Attributes() const { return m_attributes; }
    void SetAttributes(ULONG attributes) { m_attributes = attributes; }
    bool Has(ULONG bits) const { return (m_attributes & bits) != 0; }

    // The cached column texts of a list row; each is made once, on first display.
    bool HasText(int column) const { return column >= 0 && column < kColumns && m_cached[static_cast<std::size_t>(column)]; }
    const std::string& Text(int column) const { return m_texts[static_cast<std::size_t>(column)]; }
    void SetText(int column, std::string text);
    int IconIndex() const { return m_icon; }
    void SetIconIndex(int icon) { m_icon = icon; }

private:
    ShellPtr<IShellFolder> m_parent;
    ShellIdList m_relative;
    ShellIdList m_absolute;
    ULONG m_attributes;
    std::array<std::string, kColumns> m_texts;
    std::array<bool, kColumns> m_cached{};
    int m_icon = -1;
};
