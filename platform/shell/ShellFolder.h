// The shell namespace over the file system: the Desktop with the home folder, "내 컴퓨터" with
// the drives, and the Internet folder; every file-system folder is an IShellFolder2 over its
// directory. Item ids name their entry by its file name, so an id made by enumeration and one
// made by parsing the same path are equal.
#pragma once

#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"
#include "platform/shell/ItemIdList.h"
#include "platform/ole/DragDrop.h"
#include "platform/shell/ContextMenu.h"

#ifndef HRESULT_FROM_WIN32
#define FACILITY_WIN32 7
#define HRESULT_FROM_WIN32(x) \
    (static_cast<HRESULT>(x) <= 0 ? static_cast<HRESULT>(x) \
                                  : static_cast<HRESULT>((static_cast<ULONG>(x) & 0x0000FFFF) | (FACILITY_WIN32 << 16) | 0x80000000))
#endif

struct IBindCtx;
using LPBC = IBindCtx*;
struct IEnumExtraSearch;

// EnumObjects
using SHCONTF = DWORD;
#define SHCONTF_CHECKING_FOR_CHILDREN 0x00000010
#define SHCONTF_FOLDERS 0x00000020
#define SHCONTF_NONFOLDERS 0x00000040
#define SHCONTF_INCLUDEHIDDEN 0x00000080
#define SHCONTF_INIT_ON_FIRST_NEXT 0x00000100
#define SHCONTF_NETPRINTERSRCH 0x00000200
#define SHCONTF_SHAREABLE 0x00000400
#define SHCONTF_STORAGE 0x00000800

// GetAttributesOf
using SFGAOF = ULONG;
#define SFGAO_CANCOPY 0x00000001L
#define SFGAO_CANMOVE 0x00000002L
#define SFGAO_CANLINK 0x00000004L
#define SFGAO_STORAGE 0x00000008L
#define SFGAO_CANRENAME 0x00000010L
#define SFGAO_CANDELETE 0x00000020L
#define SFGAO_HASPROPSHEET 0x00000040L
#define SFGAO_DROPTARGET 0x00000100L
#define SFGAO_CAPABILITYMASK 0x00000177L
#define SFGAO_ENCRYPTED 0x00002000L
#define SFGAO_ISSLOW 0x00004000L
#define SFGAO_GHOSTED 0x00008000L
#define SFGAO_LINK 0x00010000L
#define SFGAO_SHARE 0x00020000L
#define SFGAO_READONLY 0x00040000L
#define SFGAO_HIDDEN 0x00080000L
#define SFGAO_DISPLAYATTRMASK 0x000FC000L
#define SFGAO_NONENUMERATED 0x00100000L
#define SFGAO_NEWCONTENT 0x00200000L
#define SFGAO_STREAM 0x00400000L
#define SFGAO_STORAGEANCESTOR 0x00800000L
#define SFGAO_VALIDATE 0x01000000L
#define SFGAO_REMOVABLE 0x02000000L
#define SFGAO_COMPRESSED 0x04000000L
#define SFGAO_BROWSABLE 0x08000000L
#define SFGAO_FILESYSANCESTOR 0x10000000L
#define SFGAO_FOLDER 0x20000000L
#define SFGAO_FILESYSTEM 0x40000000L
#define SFGAO_HASSUBFOLDER 0x80000000L
#define SFGAO_CONTENTSMASK 0x80000000L

// GetDisplayNameOf, SetNameOf
using SHGDNF = DWORD;
#define SHGDN_NORMAL 0x0000
#define SHGDN_INFOLDER 0x0001
#define SHGDN_FOREDITING 0x1000
#define SHGDN_FORADDRESSBAR 0x4000
#define SHGDN_FORPARSING 0x8000

// The string record of GetDisplayNameOf and GetDetailsOf.
#define STRRET_WSTR 0x0000
#define STRRET_OFFSET 0x0001
#define STRRET_CSTR 0x0002

struct STRRET {
    UINT uType;
    union {
        LPWSTR pOleStr; // shell allocator; freed by StrRetToBuf
        UINT uOffset; // into the item id
        char cStr[MAX_PATH];
    };
};
using LPSTRRET = STRRET*;

// Copies the text into `buffer` (cut to fit, always NUL-terminated, ANSI) and frees a STRRET_WSTR
// text. `item` is needed only for STRRET_OFFSET.
HRESULT StrRetToBufA(STRRET* record, PCUITEMID_CHILD item, LPSTR buffer, UINT size);
#define StrRetToBuf StrRetToBufA

// Special folders
#define CSIDL_DESKTOP 0x0000
#define CSIDL_INTERNET 0x0001
#define CSIDL_PERSONAL 0x0005
#define CSIDL_DESKTOPDIRECTORY 0x0010
#define CSIDL_DRIVES 0x0011
#define CSIDL_PROFILE 0x0028

// Column details
#ifndef LVCFMT_LEFT
#define LVCFMT_LEFT 0x0000
#define LVCFMT_RIGHT 0x0001
#endif

struct SHELLDETAILS {
    int fmt;
    int cxChar;
    STRRET str;
};
using LPSHELLDETAILS = SHELLDETAILS*;

struct SHCOLUMNID {
    GUID fmtid;
    DWORD pid;
};
using SHCOLSTATEF = DWORD;
#define SHCOLSTATE_TYPE_STR 0x00000001
#define SHCOLSTATE_TYPE_INT 0x00000002
#define SHCOLSTATE_TYPE_DATE 0x00000003
#define SHCOLSTATE_ONBYDEFAULT 0x00000010

inline constexpr IID IID_IShellFolder = {0x000214E6, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IShellFolder2 = {0x93F2F68C, 0x1D1B, 0x11D3, {0xA3, 0x0E, 0x00, 0xC0, 0x4F, 0x79, 0xAB, 0xD1}};
inline constexpr IID IID_IEnumIDList = {0x000214F2, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IShellDetails = {0x000214EC, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IEnumIDList : IUnknown {
    // Up to `count` ids, each a new list the caller frees; S_FALSE when fewer were left.
    virtual HRESULT Next(ULONG count, PITEMID_CHILD* items, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumIDList** copy) = 0;

protected:
    ~IEnumIDList() = default;
};
using LPENUMIDLIST = IEnumIDList*;

struct IShellFolder : IUnknown {
    // A path ("C:\home\ana\a.txt") or a name under this folder into an id list relative to it.
    virtual HRESULT ParseDisplayName(HWND owner, IBindCtx* context, LPWSTR displayName, ULONG* eaten,
                                     PIDLIST_RELATIVE* list, ULONG* attributes) = 0;
    // An enumerator (empty for a folder with nothing to list) on success; a failure when the
    // directory cannot be read.
    virtual HRESULT EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** enumerator) = 0;
    virtual HRESULT BindToObject(PCUIDLIST_RELATIVE list, IBindCtx* context, REFIID riid, void** object) = 0;
    virtual HRESULT BindToStorage(PCUIDLIST_RELATIVE list, IBindCtx* context, REFIID riid, void** object) = 0;
    // HRESULT code (low 16 bits, signed) below, equal to or above zero. The low 16 bits of
    // `column` pick the column; folders come before files in every column.
    virtual HRESULT CompareIDs(LPARAM column, PCUIDLIST_RELATIVE first, PCUIDLIST_RELATIVE second) = 0;
    // IID_IShellDetails gives the folder's columns.
    virtual HRESULT CreateViewObject(HWND owner, REFIID riid, void** object) = 0;
    // `attributes` comes in as the bits asked for and goes out as those all items have.
    virtual HRESULT GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY items, SFGAOF* attributes) = 0;
    // IID_IContextMenu for the items, IID_IDropTarget for one folder item.
    virtual HRESULT GetUIObjectOf(HWND owner, UINT count, PCUITEMID_CHILD_ARRAY items, REFIID riid, UINT* reserved,
                                  void** object) = 0;
    virtual HRESULT GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF flags, STRRET* name) = 0;
    virtual HRESULT SetNameOf(HWND owner, PCUITEMID_CHILD item, LPCWSTR name, SHGDNF flags, PITEMID_CHILD* newItem) = 0;

protected:
    ~IShellFolder() = default;
};
using LPSHELLFOLDER = IShellFolder*;

struct IShellFolder2 : IShellFolder {
    virtual HRESULT GetDefaultSearchGUID(GUID* guid) = 0;
    virtual HRESULT EnumSearches(IEnumExtraSearch** enumerator) = 0;
    virtual HRESULT GetDefaultColumn(DWORD reserved, ULONG* sort, ULONG* display) = 0;
    virtual HRESULT GetDefaultColumnState(UINT column, SHCOLSTATEF* state) = 0;
    virtual HRESULT GetDetailsEx(PCUITEMID_CHILD item, const SHCOLUMNID* column, VARIANT* value) = 0;
    // With a null item: the heading of the column. E_FAIL past the last column.
    virtual HRESULT GetDetailsOf(PCUITEMID_CHILD item, UINT column, SHELLDETAILS* details) = 0;
    virtual HRESULT MapColumnToSCID(UINT column, SHCOLUMNID* id) = 0;

protected:
    ~IShellFolder2() = default;
};

struct IShellDetails : IUnknown {
    virtual HRESULT GetDetailsOf(PCUITEMID_CHILD item, UINT column, SHELLDETAILS* details) = 0;
    virtual HRESULT ColumnClick(UINT column) = 0;

protected:
    ~IShellDetails() = default;
};

HRESULT SHGetDesktopFolder(IShellFolder** folder);
// CSIDL_DESKTOP (the empty list), CSIDL_INTERNET, CSIDL_DRIVES, CSIDL_PERSONAL/CSIDL_PROFILE (the
// home folder); the list is the caller's to free.
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* list);
// The file-system path (at least MAX_PATH characters); FALSE with an empty text for an item
// without one (the Desktop, "내 컴퓨터", the Internet folder).
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, LPSTR path);
#define SHGetPathFromIDList SHGetPathFromIDListA
