// The local list's texts, icons and order: column texts are made when a row is first shown and
// kept in its record, from the folder's own column details when it has them, else computed; the
// order is the folder's own comparison once a folder is shown.
#include <algorithm>
#include <cstring>

#include "platform/base/FileApi.h"
#include "platform/shell/FileInfo.h"
#include "shell/IEShellListCtrl.h"
#include "shell/LocalFileOps.h"
#include "shell/LocalListText.h"
#include "ui/UIListCompare.h"

bool CIEShellListCtrl::DetailsText(LPCITEMIDLIST relative, int column, std::string& text) const {
    SHELLDETAILS details{};
    HRESULT result = E_FAIL;
    if (m_details2) result = m_details2->GetDetailsOf(relative, static_cast<UINT>(column), &details);
    else if (m_details) result = m_details->GetDetailsOf(relative, static_cast<UINT>(column), &details);
    if (FAILED(result)) return false;
    text = ShellNamespace::StrRetText(details.str, relative);
    return true;
}

std::string CIEShellListCtrl::TypeNameOf(LPCITEMIDLIST absolute) const {
    SHFILEINFOA info;
    if (SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolute), 0, &info, sizeof info, SHGFI_TYPENAME | SHGFI_PIDL) == 0) return {};
    return info.szTypeName;
}

std::string CIEShellListCtrl::StripExtension(const std::string& text) const { return WithoutExtension(text); }

bool CIEShellListCtrl::GetOwnColumnText(const ShellItemData&, int, std::string&) { return false; }

void CIEShellListCtrl::MakeSizeAndDateTexts(ShellItemData& row) {
    std::string size, modified;
    std::string path = ShellNamespace::PathOf(row.Absolute());
    WIN32_FIND_DATAA found{};
    HANDLE search = path.size() > 3 ? FindFirstFileA(path.c_str(), &found) : INVALID_HANDLE_VALUE;
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            std::uint64_t bytes = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            size = LocalSizeText(bytes, LocalThousandsSeparator());
        }
        modified = LocalModifiedText(found.ftLastWriteTime, found.ftCreationTime);
    }
    row.SetText(kColumnSize, std::move(size));
    row.SetText(kColumnModified, std::move(modified));
}

void CIEShellListCtrl::MakeRowTexts(ShellItemData& row, int column) {
    if (row.HasText(column)) return;
    std::string text;
    if (column == kColumnName) {
        text = ShellNamespace::DisplayName(row.ParentFolder(), row.Relative(), SHGDN_NORMAL);
        // A name the folder shows with its extension loses it while extensions are hidden.
        if (!m_settings.ShowExtensions() && !row.Has(SFGAO_FOLDER) &&
            text == ShellNamespace::DisplayName(row.ParentFolder(), row.Relative(), SHGDN_INFOLDER | SHGDN_FORPARSING)) {
            text = StripExtension(text);
        }
    } else if (GetOwnColumnText(row, column, text)) {
    } else if (HasColumnDetails()) {
        DetailsText(row.Relative(), column, text);
    } else if (column == kColumnType) {
        text = TypeNameOf(row.Absolute());
    } else {
        MakeSizeAndDateTexts(row);
        return;
    }
    row.SetText(column, std::move(text));
}

BOOL CIEShellListCtrl::GetDispInfo(LVITEMA* item) {
    ShellItemData* row = GetShellItem(item->iItem);
    if (row == nullptr) return FALSE;
    if (item->mask & LVIF_IMAGE) {
        if (row->IconIndex() < 0) row->SetIconIndex(ShellNamespace::SmallIcon(row->Absolute(), false));
        item->iImage = row->IconIndex();
    }
    if ((item->mask & LVIF_TEXT) && item->pszText != nullptr && item->cchTextMax > 0) {
        int column = item->iSubItem;
        std::string none;
        const std::string* text = &none;
        if (column >= 0 && column < ShellItemData::kColumns) {
            MakeRowTexts(*row, column);
            text = &row->Text(column);
        }
        std::size_t length = std::min(text->size(), static_cast<std::size_t>(item->cchTextMax - 1));
        std::memcpy(item->pszText, text->data(), length);
        item->pszText[length] = '\0';
    }
    return TRUE;
}

BOOL CIEShellListCtrl::ColumnClick(int column) { return CUIODListCtrl::ColumnClick(column); }

int CIEShellListCtrl::CompareItems(const CUIListCtrlData* first, const CUIListCtrlData* second, const SortRecord& sort) {
    auto* left = first != nullptr ? reinterpret_cast<ShellItemData*>(first->GetExtData()) : nullptr;
    auto* right = second != nullptr ? reinterpret_cast<ShellItemData*>(second->GetExtData()) : nullptr;
    if (left == nullptr || right == nullptr) return 0;
    if (m_sortByShell && m_folder) return ShellNamespace::Compare(m_folder.Get(), sort.column, left->Relative(), right->Relative());
    if (sort.column < 0 || sort.column >= ShellItemData::kColumns) return 0;
    MakeRowTexts(*left, sort.column);
    MakeRowTexts(*right, sort.column);
    return ostrana::CompareCellTexts(sort.columnType, left->Text(sort.column), right->Text(sort.column));
}
