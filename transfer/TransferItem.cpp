// Name and folder parts of an item path, split at the separator of the item's side.
#include "transfer/TransferItem.h"

std::string TransferItem::FileName() const {
    std::size_t cut = m_strPath.find_last_of(Separator());
    return cut == std::string::npos ? m_strPath : m_strPath.substr(cut + 1);
}

std::string TransferItem::FolderPart() const {
    std::size_t cut = m_strPath.find_last_of(Separator());
    return cut == std::string::npos ? std::string() : m_strPath.substr(0, cut + 1);
}
