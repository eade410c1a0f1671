// The record of a local node or row; see ShellItemData.h.
#include "shell/ShellItemData.h"

ShellItemData::ShellItemData(IShellFolder* parent, ShellIdList relative, LPCITEMIDLIST parentAbsolute, ULONG attributes)
    : m_parent(ShellPtr<IShellFolder>::Share(parent)), m_relative(std::move(relative)),
      m_absolute(ILCombine(parentAbsolute, m_relative.Get())), m_attributes(attributes) {}

ShellItemData::ShellItemData(ShellIdList absolute, ULONG attributes)
    : m_relative(ILClone(absolute.Get())), m_absolute(std::move(absolute)), m_attributes(attributes) {}

void ShellItemData::SetText(int column, std::string text) {
    if (column < 0 || column >= kColumns) return;
    m_texts[static_cast<std::size_t>(column)] = std::move(text);
    m_cached[static_cast<std::size_t>(column)] = true;
}
