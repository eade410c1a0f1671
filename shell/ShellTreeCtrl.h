// The tree of local folders over the shell namespace: folders only, with the shell's names, small
// icons and overlays, sorted by the folders' own comparison. Each node holds a ShellItemData.
// Nodes are enumerated when first expanded; a refresh merges the file system into the expanded
// part of the tree, so selection and expansion survive it.
#pragma once

#include <string>

#include "platform/shell/ShellMalloc.h"
#include "shell/ShellItemData.h"
#include "shell/ShellMessages.h"
#include "shell/ShellSettings.h"
#include "ui/UITreeCtrl.h"

class CShellTreeCtrl : public CUITreeCtrl {
    DECLARE_DYNAMIC(CShellTreeCtrl)

public:
    static constexpr ULONG kFolderMask = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
    static constexpr ULONG kLookMask =
        SFGAO_REMOVABLE | SFGAO_LINK | SFGAO_SHARE | SFGAO_READONLY | SFGAO_HIDDEN | SFGAO_ISSLOW | SFGAO_GHOSTED;
    static constexpr ULONG kCompressed = 0x04000000;
    static constexpr COLORREF kCompressedColor = RGB(0, 0, 255);

    explicit CShellTreeCtrl(bool oleDragDrop = false);
    ~CShellTreeCtrl() override;

    ShellItemData* GetShellItem(HTREEITEM item) const;
    virtual LPCITEMIDLIST GetItemIdList(HTREEITEM item) const;
    virtual std::string GetItemPath(HTREEITEM item) const;
    virtual void SortChildNodes(HTREEITEM item);
    // The node's folder; the desktop folder when it cannot be bound.
    virtual ShellPtr<IShellFolder> GetItemFolder(HTREEITEM item) const;
    virtual HTREEITEM AddChild(HTREEITEM parent, IShellFolder* folder, ShellIdList relative);
    // Special folder `special` when it is 0 or more, else `name` parsed, else the Desktop.
    virtual void LoadRoot(int special = -1, const std::string& name = {});
    // The number of children added.
    virtual int Populate(HTREEITEM item, IShellFolder* folder);
    virtual void RemoveExpandButton(HTREEITEM item);
    virtual void RefreshNode(HTREEITEM item);
    virtual void ApplyAttributeLook(HTREEITEM item);

    // The whole tree brought up to date from the root, without redrawing meanwhile.
    void RefreshAll();
    const std::string& GetRootPath() const { return m_rootPath; }
    ShellSettings& Settings() { return m_settings; }
    IShellFolder* GetDesktop() const { return m_desktop.Get(); }
    DWORD EnumFlags() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FreeUserData(DWORD_PTR userData) override;
    BOOL ExpandNode(HTREEITEM item) override;
    void SetUpSystemImages();

private:
    static int CompareNodes(LPARAM first, LPARAM second, LPARAM folder);

    ShellPtr<IMalloc> m_malloc;
    ShellPtr<IShellFolder> m_desktop;
    HIMAGELIST m_systemImages = nullptr;
    ShellSettings m_settings;
    std::string m_rootPath;
};
