// The namespace over a sandbox: the Desktop's folders, drives, directories with their filters,
// names, attributes and order, parsing paths into the same ids enumeration gives, and the file
// information the panes read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/LocalPath.h"
#include "platform/shell/ItemIdList.h"
#include "platform/shell/FileInfo.h"
#include "platform/shell/ShellFlags.h"
#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellItemInfo.h"
#include "platform/shell/ShellMalloc.h"
#include "tests/support/AnsiText.h"
#include "tests/support/ShellSandbox.h"

namespace ostrana::test {
namespace {

struct IdListFree {
    void operator()(ITEMIDLIST* list) const { ILFree(list); }
};
using IdList = std::unique_ptr<ITEMIDLIST, IdListFree>;

struct ReleaseFolder {
    void operator()(IShellFolder* folder) const { folder->Release(); }
};
using Folder = std::unique_ptr<IShellFolder, ReleaseFolder>;

Folder Desktop() {
    IShellFolder* desktop = nullptr;
    EXPECT_EQ(SHGetDesktopFolder(&desktop), S_OK);
    return Folder(desktop);
}

IdList Parse(IShellFolder* folder, const std::string& ansi, HRESULT* result = nullptr, ULONG* attributes = nullptr) {
    std::u16string wide = ToWide(ansi);
    LPITEMIDLIST list = nullptr;
    HRESULT parsed = folder->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &list, attributes);
    if (result != nullptr) {
        *result = parsed;
    }
    return IdList(list);
}

Folder Bind(IShellFolder* parent, LPCITEMIDLIST list) {
    IShellFolder* child = nullptr;
    EXPECT_EQ(parent->BindToObject(list, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&child)), S_OK);
    return Folder(child);
}

Folder BindPath(const std::string& ansi) {
    Folder desktop = Desktop();
    IdList list = Parse(desktop.get(), ansi);
    EXPECT_NE(list, nullptr) << ansi;
    return list ? Bind(desktop.get(), list.get()) : nullptr;
}

std::string NameOf(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags = SHGDN_INFOLDER) {
    STRRET record{};
    EXPECT_EQ(folder->GetDisplayNameOf(item, flags, &record), S_OK);
    char buffer[1024] = {};
    StrRetToBufA(&record, item, buffer, sizeof buffer);
    return buffer;
}

std::vector<IdList> Children(IShellFolder* folder, SHCONTF flags) {
    std::vector<IdList> items;
    IEnumIDList* enumerator = nullptr;
    EXPECT_EQ(folder->EnumObjects(nullptr, flags, &enumerator), S_OK);
    if (enumerator == nullptr) {
        return items;
    }
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (enumerator->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        items.emplace_back(item);
    }
    enumerator->Release();
    std::sort(items.begin(), items.end(), [folder](const IdList& a, const IdList& b) {
        return static_cast<short>(folder->CompareIDs(0, a.get(), b.get()) & 0xFFFF) < 0;
    });
    return items;
}

std::vector<std::string> ChildNames(IShellFolder* folder, SHCONTF flags) {
    std::vector<std::string> names;
    for (const IdList& item : Children(folder, flags)) {
        names.push_back(NameOf(folder, item.get()));
    }
    return names;
}

SFGAOF AttributesOf(IShellFolder* folder, LPCITEMIDLIST item, SFGAOF asked) {
    LPCITEMIDLIST items[] = {item};
    EXPECT_EQ(folder->GetAttributesOf(1, items, &asked), S_OK);
    return asked;
}

std::string PathOf(LPCITEMIDLIST list) {
    char path[MAX_PATH] = {};
    return SHGetPathFromIDListA(list, path) ? path : "(none)";
}

using Strings = std::vector<std::string>;

TEST(ShellNamespace, DesktopHoldsHomeComputerAndTheInternetLastAndComputerHoldsTheDrives) {
    ShellSandbox sandbox;
    Folder desktop = Desktop();
    EXPECT_EQ(ChildNames(desktop.get(), SHCONTF_FOLDERS), (Strings{"ana", Ansi("내 컴퓨터"), Ansi("인터넷")}));
    EXPECT_TRUE(ChildNames(desktop.get(), SHCONTF_NONFOLDERS).empty());

    std::vector<IdList> top = Children(desktop.get(), SHCONTF_FOLDERS);
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(PathOf(top[0].get()), HostToLocalPath(sandbox.Home().string()));
    EXPECT_EQ(PathOf(top[1].get()), "(none)");
    EXPECT_EQ(AttributesOf(desktop.get(), top[1].get(), SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM),
              static_cast<SFGAOF>(SFGAO_FOLDER | SFGAO_HASSUBFOLDER));
    EXPECT_EQ(AttributesOf(desktop.get(), top[2].get(), SFGAO_FOLDER | SFGAO_HASSUBFOLDER), static_cast<SFGAOF>(SFGAO_FOLDER));

    PIDLIST_ABSOLUTE internet = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_INTERNET, &internet), S_OK);
    EXPECT_TRUE(ILIsSameBytes(internet, top[2].get()));
    ILFree(internet);
    Folder web = Bind(desktop.get(), top[2].get());
    EXPECT_TRUE(Children(web.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS).empty());

    Folder computer = Bind(desktop.get(), top[1].get());
    std::vector<IdList> drives = Children(computer.get(), SHCONTF_FOLDERS);
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(NameOf(computer.get(), drives[1].get(), SHGDN_FORPARSING), "D:\\");
    EXPECT_NE(NameOf(computer.get(), drives[1].get()).find("(D:)"), std::string::npos);
    IdList absoluteD(ILCombine(top[1].get(), drives[1].get()));
    EXPECT_EQ(PathOf(absoluteD.get()), "D:\\");
}

TEST(ShellNamespace, EnumerationFollowsTheFoldersFilesAndHiddenFlags) {
    ShellSandbox sandbox;
    sandbox.MakeFolder(sandbox.DriveD() / "docs" / "old");
    sandbox.MakeFolder(sandbox.DriveD() / ".cache");
    sandbox.MakeFile(sandbox.DriveD() / "b.txt", "b");
    sandbox.MakeFile(sandbox.DriveD() / "A.txt", "a");
    sandbox.MakeFile(sandbox.DriveD() / ".profile");
    sandbox.MakeFile(sandbox.DriveD() / "back\\slash.txt");
    Folder d = BindPath("D:\\");
    ASSERT_NE(d, nullptr);

    EXPECT_EQ(ChildNames(d.get(), SHCONTF_FOLDERS), (Strings{"docs"}));
    EXPECT_EQ(ChildNames(d.get(), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN), (Strings{".cache", "docs"}));
    EXPECT_EQ(ChildNames(d.get(), SHCONTF_NONFOLDERS), (Strings{"A.txt", "b.txt"}))
        << "a name with a backslash cannot be a local path and is left out";
    EXPECT_EQ(ChildNames(d.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN),
              (Strings{".cache", "docs", ".profile", "A.txt", "b.txt"}))
        << "folders first, then names without case";
}

TEST(ShellNamespace, AttributesTellFoldersSubfoldersLinksReadOnlyAndHiddenItems) {
    ShellSandbox sandbox;
    sandbox.MakeFolder(sandbox.DriveD() / "parent" / "child");
    sandbox.MakeFolder(sandbox.DriveD() / "empty");
    std::filesystem::path locked = sandbox.MakeFile(sandbox.DriveD() / "locked.txt");
    sandbox.MakeFile(sandbox.DriveD() / ".hidden");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    ASSERT_EQ(::symlink((sandbox.DriveD() / "parent").c_str(), (sandbox.DriveD() / "link").c_str()), 0);
    Folder d = BindPath("D:\\");
    ASSERT_NE(d, nullptr);

    auto attributes = [&](const char* name) {
        IdList item = Parse(d.get(), name);
        EXPECT_NE(item, nullptr) << name;
        return item ? AttributesOf(d.get(), item.get(), 0xFFFFFFFF & ~SFGAO_VALIDATE) : 0;
    };
    SFGAOF parent = attributes("parent");
    EXPECT_EQ(parent & (SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_LINK),
              static_cast<SFGAOF>(SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM));
    EXPECT_EQ(parent & (SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK),
              static_cast<SFGAOF>(SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK))
        << "the bits equal the drop effects a drag offers";
    EXPECT_EQ(attributes("empty") & SFGAO_HASSUBFOLDER, 0u);
    SFGAOF link = attributes("link");
    EXPECT_EQ(link & (SFGAO_FOLDER | SFGAO_LINK), static_cast<SFGAOF>(SFGAO_FOLDER | SFGAO_LINK));
    SFGAOF file = attributes("locked.txt");
    EXPECT_EQ(file & (SFGAO_FOLDER | SFGAO_READONLY | SFGAO_FILESYSTEM), static_cast<SFGAOF>(SFGAO_READONLY | SFGAO_FILESYSTEM));
    EXPECT_EQ(attributes(".hidden") & SFGAO_HIDDEN, static_cast<SFGAOF>(SFGAO_HIDDEN));

    // Only the bits asked for come back, and the answer for several items is what all share.
    IdList a = Parse(d.get(), "parent");
    IdList b = Parse(d.get(), "locked.txt");
    LPCITEMIDLIST both[] = {a.get(), b.get()};
    SFGAOF asked = SFGAO_FILESYSTEM | SFGAO_FOLDER;
    ASSERT_EQ(d->GetAttributesOf(2, both, &asked), S_OK);
    EXPECT_EQ(asked, static_cast<SFGAOF>(SFGAO_FILESYSTEM));

    // A vanished item fails validation.
    std::filesystem::remove(locked);
    SFGAOF validate = SFGAO_VALIDATE | SFGAO_FILESYSTEM;
    LPCITEMIDLIST gone[] = {b.get()};
    EXPECT_TRUE(FAILED(d->GetAttributesOf(1, gone, &validate)));
}

TEST(ShellNamespace, DisplayNamesInEveryFormHideExtensionsOnlyWhenTheUserDoes) {
    ShellSandbox sandbox;
    sandbox.MakeFile(sandbox.DriveD() / "docs" / "report.final.txt");
    sandbox.MakeFile(sandbox.DriveD() / "docs" / ".profile");
    sandbox.MakeFile(sandbox.DriveD() / "docs" / "sub.d" / "x");
    Folder docs = BindPath("D:\\docs");
    ASSERT_NE(docs, nullptr);
    IdList report = Parse(docs.get(), "report.final.txt");
    IdList profile = Parse(docs.get(), ".profile");
    IdList folder = Parse(docs.get(), "sub.d");

    ASSERT_TRUE(StoreShellFlags(0x02));
    Folder shown = BindPath("D:\\docs");
    EXPECT_EQ(NameOf(shown.get(), report.get(), SHGDN_NORMAL), "report.final.txt");
    EXPECT_EQ(NameOf(shown.get(), report.get(), SHGDN_FORPARSING), "D:\\docs\\report.final.txt");
    EXPECT_EQ(NameOf(shown.get(), report.get(), SHGDN_FORPARSING | SHGDN_INFOLDER), "report.final.txt");

    ASSERT_TRUE(StoreShellFlags(0x00));
    Folder hidden = BindPath("D:\\docs");
    EXPECT_EQ(NameOf(hidden.get(), report.get(), SHGDN_INFOLDER), "report.final");
    EXPECT_EQ(NameOf(hidden.get(), report.get(), SHGDN_INFOLDER | SHGDN_FOREDITING), "report.final");
    EXPECT_EQ(NameOf(hidden.get(), report.get(), SHGDN_FORPARSING | SHGDN_INFOLDER), "report.final.txt");
    EXPECT_EQ(NameOf(hidden.get(), profile.get()), ".profile") << "a leading dot is no extension";
    EXPECT_EQ(NameOf(hidden.get(), folder.get()), "sub.d") << "folders keep their whole name";

    // The folder made earlier learns of the change at its next enumeration.
    EXPECT_EQ(NameOf(docs.get(), report.get()), "report.final.txt");
    Children(docs.get(), SHCONTF_NONFOLDERS);
    EXPECT_EQ(NameOf(docs.get(), report.get()), "report.final");

    // Long paths come back through the shell allocator and still convert.
    std::string longName(200, 'n');
    sandbox.MakeFile(sandbox.DriveD() / "docs" / longName / (longName + ".txt"));
    Folder desktop = Desktop();
    IdList deep = Parse(desktop.get(), "D:\\docs\\" + longName + "\\" + longName + ".txt");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(NameOf(desktop.get(), deep.get(), SHGDN_FORPARSING), "D:\\docs\\" + longName + "\\" + longName + ".txt");
    EXPECT_EQ(PathOf(deep.get()), "(none)") << "longer than a path buffer holds";
}

TEST(ShellNamespace, ParsingGivesTheIdsEnumerationGivesAndNeverLeavesTheFolder) {
    ShellSandbox sandbox;
    sandbox.MakeFile(sandbox.DriveD() / "docs" / "a.txt");
    sandbox.MakeFile(sandbox.DriveD() / "secret.txt");
    Folder desktop = Desktop();

    IdList parsed = Parse(desktop.get(), "D:\\docs");
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(PathOf(parsed.get()), "D:\\docs");
    IdList doubled = Parse(desktop.get(), "d:\\\\docs\\");
    ASSERT_NE(doubled, nullptr);
    EXPECT_TRUE(ILIsSameBytes(parsed.get(), doubled.get())) << "lower-case drive, doubled and trailing backslashes";

    // Walk the tree as the folder pane does: Desktop, 내 컴퓨터, D:, docs.
    IdList walked(ILClone(Children(desktop.get(), SHCONTF_FOLDERS)[1].get()));
    Folder computer = Bind(desktop.get(), walked.get());
    IdList drive(ILCombine(walked.get(), Children(computer.get(), SHCONTF_FOLDERS)[1].get()));
    Folder d = Bind(desktop.get(), drive.get());
    IdList docs(ILCombine(drive.get(), Children(d.get(), SHCONTF_FOLDERS)[0].get()));
    EXPECT_TRUE(ILIsSameBytes(parsed.get(), docs.get())) << "the tree finds the parsed folder by its id";

    HRESULT result = S_OK;
    ULONG attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM;
    IdList file = Parse(desktop.get(), "D:\\docs\\a.txt", &result, &attributes);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(attributes, static_cast<ULONG>(SFGAO_FILESYSTEM));

    for (const char* refused : {"docs\\a.txt", "\\docs", "D:docs", "D:\\docs\\..\\secret.txt", "D:\\docs\\.\\a.txt",
                                "D:\\docs/a.txt", "D:\\missing", "D:\\docs\\a.txt\\deeper", "Q:\\docs", ""}) {
        EXPECT_EQ(Parse(desktop.get(), refused, &result), nullptr) << refused;
        EXPECT_TRUE(FAILED(result)) << refused;
    }
    Folder docsFolder = Bind(desktop.get(), parsed.get());
    for (const char* refused : {"..\\secret.txt", "D:\\secret.txt", "..", "x\\..\\..\\secret.txt"}) {
        EXPECT_EQ(Parse(docsFolder.get(), refused, &result), nullptr) << refused;
    }
    IdList relative = Parse(docsFolder.get(), "a.txt");
    ASSERT_NE(relative, nullptr);
    IdList absolute(ILCombine(parsed.get(), relative.get()));
    EXPECT_EQ(PathOf(absolute.get()), "D:\\docs\\a.txt");
}

TEST(ShellNamespace, ForgedIdsThatWouldLeaveTheirFolderAreRefused) {
    ShellSandbox sandbox;
    sandbox.MakeFile(sandbox.DriveD() / "docs" / "a.txt");
    sandbox.MakeFile(sandbox.DriveD() / "secret.txt");
    Folder docs = BindPath("D:\\docs");
    ASSERT_NE(docs, nullptr);
    auto forged = [](char kind, std::string name) {
        return IdList(ILCreateFromItems({std::string(1, kind) + name + std::string(1, '\0')}));
    };
    for (const char* name : {"..", ".", "../secret.txt", "x\\..\\..\\secret.txt", ""}) {
        IdList item = forged('f', name);
        STRRET record{};
        EXPECT_EQ(docs->GetDisplayNameOf(item.get(), SHGDN_FORPARSING, &record), E_INVALIDARG) << name;
        IShellFolder* bound = nullptr;
        EXPECT_TRUE(FAILED(docs->BindToObject(forged('F', name).get(), nullptr, IID_IShellFolder,
                                              reinterpret_cast<void**>(&bound))));
    }
    // A size field that overruns, an unknown kind, and a drive under a directory.
    IdList unknown(ILCreateFromItems({std::string("Xa.txt") + '\0'}));
    IdList drive = forged('D', "C");
    IdList unterminated(ILCreateFromItems({"fa.txt"}));
    for (LPCITEMIDLIST bad : {static_cast<LPCITEMIDLIST>(unknown.get()), static_cast<LPCITEMIDLIST>(drive.get()),
                              static_cast<LPCITEMIDLIST>(unterminated.get())}) {
        STRRET record{};
        EXPECT_EQ(docs->GetDisplayNameOf(bad, SHGDN_NORMAL, &record), E_INVALIDARG);
    }
    EXPECT_EQ(NameOf(docs.get(), forged('f', "a.txt").get(), SHGDN_FORPARSING), "D:\\docs\\a.txt");
}

TEST(ShellNamespace, CompareIdsPutsFoldersFirstAndSortsByTheColumnGiven) {
    ShellSandbox sandbox;
    sandbox.MakeFile(sandbox.DriveD() / "zeta" / "inner" / "b.txt");
    sandbox.MakeFile(sandbox.DriveD() / "zeta" / "inner" / "a.txt");
    sandbox.MakeFile(sandbox.DriveD() / "alpha.txt", std::string(3000, 'x'));
    sandbox.MakeFile(sandbox.DriveD() / "Beta.doc", "x");
    Folder d = BindPath("D:\\");
    ASSERT_NE(d, nullptr);
    IdList zeta = Parse(d.get(), "zeta");
    IdList alpha = Parse(d.get(), "alpha.txt");
    IdList beta = Parse(d.get(), "Beta.doc");
    auto order = [&](LPARAM column, const IdList& a, const IdList& b) {
        HRESULT result = d->CompareIDs(column, a.get(), b.get());
        EXPECT_TRUE(SUCCEEDED(result));
        return static_cast<short>(result & 0xFFFF);
    };
    EXPECT_LT(order(0, zeta, alpha), 0) << "a folder before any file";
    EXPECT_LT(order(0, alpha, beta), 0) << "names without case";
    EXPECT_GT(order(0, beta, alpha), 0);
    EXPECT_EQ(order(0, beta, beta), 0);
    EXPECT_GT(order(1, alpha, beta), 0) << "by size";
    EXPECT_LT(order(1, zeta, beta), 0) << "folders first in every column";
    WriteFileBytes(sandbox.DriveD() / "Beta.doc", std::string(5000, 'x'));
    Children(d.get(), SHCONTF_NONFOLDERS);
    EXPECT_LT(order(1, alpha, beta), 0) << "sizes are read again after the next enumeration";

    IdList innerA = Parse(d.get(), "zeta\\inner\\a.txt");
    IdList innerB = Parse(d.get(), "zeta\\inner\\b.txt");
    IdList inner = Parse(d.get(), "zeta\\inner");
    EXPECT_LT(order(0, innerA, innerB), 0) << "lists of several levels compare below their common folders";
    EXPECT_LT(order(0, inner, innerA), 0) << "a folder before what it holds";
}

TEST(ShellNamespace, DetailsGiveTheFourColumnsAndTheirTexts) {
    ShellSandbox sandbox;
    sandbox.MakeFile(sandbox.DriveD() / "big.txt", std::string(1025, 'x'));
    sandbox.MakeFolder(sandbox.DriveD() / "sub");
    Folder d = BindPath("D:\\");
    ASSERT_NE(d, nullptr);
    IShellFolder2* details = nullptr;
    ASSERT_EQ(d->QueryInterface(IID_IShellFolder2, reinterpret_cast<void**>(&details)), S_OK);
    auto text = [&](LPCITEMIDLIST item, UINT column) {
        SHELLDETAILS detail{};
        EXPECT_EQ(details->GetDetailsOf(item, column, &detail), S_OK);
        char buffer[260] = {};
        StrRetToBufA(&detail.str, item, buffer, sizeof buffer);
        return std::string(buffer);
    };
    EXPECT_EQ(text(nullptr, 0) + "|" + text(nullptr, 1) + "|" + text(nullptr, 2) + "|" + text(nullptr, 3),
              Ansi("이름|크기|종류|수정한 날짜"));
    SHELLDETAILS past{};
    EXPECT_TRUE(FAILED(details->GetDetailsOf(nullptr, 4, &past)));

    IdList big = Parse(d.get(), "big.txt");
    IdList sub = Parse(d.get(), "sub");
    EXPECT_EQ(text(big.get(), 1), "2 KB");
    EXPECT_EQ(text(big.get(), 2), Ansi("텍스트 문서"));
    EXPECT_EQ(text(sub.get(), 1), "");
    EXPECT_EQ(text(sub.get(), 2), Ansi("파일 폴더"));
    EXPECT_EQ(text(big.get(), 3).substr(0, 2), "20");
    details->Release();

    IShellDetails* view = nullptr;
    ASSERT_EQ(d->CreateViewObject(nullptr, IID_IShellDetails, reinterpret_cast<void**>(&view)), S_OK);
    SHELLDETAILS heading{};
    ASSERT_EQ(view->GetDetailsOf(nullptr, 0, &heading), S_OK);
    view->Release();

    EXPECT_EQ(shellns::KilobyteText(0), "1 KB");
    EXPECT_EQ(shellns::KilobyteText(1024), "1 KB");
    EXPECT_EQ(shellns::KilobyteText(1048577), "1,025 KB");
}

TEST(ShellNamespace, FileInformationByIdListGivesNamesAttributesTypesAndIcons) {
    ShellSandbox sandbox;
    sandbox.MakeFile(sandbox.DriveD() / "docs" / "a.txt");
    ASSERT_EQ(::symlink((sandbox.DriveD() / "docs" / "a.txt").c_str(), (sandbox.DriveD() / "docs" / "short.txt").c_str()), 0);
    Folder desktop = Desktop();
    IdList docs = Parse(desktop.get(), "D:\\docs");
    IdList link = Parse(desktop.get(), "D:\\docs\\short.txt");
    PIDLIST_ABSOLUTE root = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &root), S_OK);
    IdList desktopList(root);
    PIDLIST_ABSOLUTE drives = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives), S_OK);
    IdList computer(drives);

    auto info = [](LPCITEMIDLIST list, UINT flags) {
        SHFILEINFOA result{};
        EXPECT_NE(SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &result, sizeof result, SHGFI_PIDL | flags), 0u);
        return result;
    };
    SHFILEINFOA root0 = info(desktopList.get(), SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES);
    EXPECT_EQ(std::string(root0.szDisplayName), Ansi("바탕 화면"));
    EXPECT_NE(root0.dwAttributes & SFGAO_HASSUBFOLDER, 0u);
    EXPECT_EQ(std::string(info(computer.get(), SHGFI_DISPLAYNAME).szDisplayName), Ansi("내 컴퓨터"));

    SHFILEINFOA folder = info(docs.get(), SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES | SHGFI_TYPENAME);
    EXPECT_EQ(std::string(folder.szDisplayName), "docs");
    EXPECT_EQ(std::string(folder.szTypeName), Ansi("파일 폴더"));
    EXPECT_NE(folder.dwAttributes & SFGAO_FOLDER, 0u);
    SHFILEINFOA asked{};
    asked.dwAttributes = SFGAO_LINK;
    ASSERT_NE(SHGetFileInfoA(reinterpret_cast<LPCSTR>(link.get()), 0, &asked, sizeof asked,
                             SHGFI_PIDL | SHGFI_ATTRIBUTES | SHGFI_ATTR_SPECIFIED),
              0u);
    EXPECT_EQ(asked.dwAttributes, static_cast<DWORD>(SFGAO_LINK)) << "a symbolic link is a shortcut";

    SHFILEINFOA closed{};
    DWORD_PTR small = SHGetFileInfoA(reinterpret_cast<LPCSTR>(docs.get()), 0, &closed, sizeof closed,
                                     SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    EXPECT_EQ(small, reinterpret_cast<DWORD_PTR>(SystemImageList(true)));
    int open = info(docs.get(), SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON).iIcon;
    int computerIcon = info(computer.get(), SHGFI_SYSICONINDEX | SHGFI_SMALLICON).iIcon;
    EXPECT_NE(closed.iIcon, open);
    EXPECT_NE(closed.iIcon, computerIcon);
    EXPECT_EQ(ImageListEntry(SystemImageList(true), computerIcon), "system computer");
    std::vector<std::string> entries;
    for (int i = 0; i < ImageList_GetImageCount(SystemImageList(false)); ++i) {
        entries.push_back(ImageListEntry(SystemImageList(false), i));
    }
    for (const char* overlay : {"system overlay shared", "system overlay shortcut"}) {
        EXPECT_NE(std::find(entries.begin(), entries.end(), overlay), entries.end()) << overlay;
    }

    // The same facts for a path given as text.
    SHFILEINFOA byPath{};
    ASSERT_NE(SHGetFileInfoA("D:\\docs", 0, &byPath, sizeof byPath, SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES), 0u);
    EXPECT_EQ(std::string(byPath.szDisplayName), "docs");
    EXPECT_EQ(byPath.dwAttributes, folder.dwAttributes);

    IdList broken(ILCreateFromItems({"garbage"}));
    SHFILEINFOA none{};
    EXPECT_EQ(SHGetFileInfoA(reinterpret_cast<LPCSTR>(broken.get()), 0, &none, sizeof none, SHGFI_PIDL | SHGFI_DISPLAYNAME), 0u);
}

TEST(StrRet, EveryFormCopiesCutsAndFrees) {
    char buffer[8];
    STRRET record{};
    record.uType = STRRET_CSTR;
    std::strcpy(record.cStr, "abcdefghij");
    ASSERT_EQ(StrRetToBufA(&record, nullptr, buffer, sizeof buffer), S_OK);
    EXPECT_STREQ(buffer, "abcdefg");

    std::u16string wide = ToWide("name");
    record.uType = STRRET_WSTR;
    record.pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(WCHAR)));
    std::memcpy(record.pOleStr, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
    ASSERT_EQ(StrRetToBufA(&record, nullptr, buffer, sizeof buffer), S_OK);
    EXPECT_STREQ(buffer, "name");
    EXPECT_EQ(record.pOleStr, nullptr);

    record.uType = STRRET_OFFSET;
    record.uOffset = 1000;
    EXPECT_EQ(StrRetToBufA(&record, nullptr, buffer, sizeof buffer), E_INVALIDARG);
}

} // namespace
} // namespace ostrana::test
