// What the folders hand out for items: the context menu with its commands in the caller's range,
// the drop target that copies or moves dropped local files, and the property sheets.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/LocalPath.h"
#include "platform/ole/DropFiles.h"
#include "platform/ole/OleDataSource.h"
#include "platform/shell/AfxMessageBox.h"
#include "platform/shell/ContextMenu.h"
#include "platform/shell/PropertySheet.h"
#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellFolder.h"
#include "platform/window/ClipboardFormat.h"
#include "platform/window/Menu.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowMessages.h"
#include "platform/window/Dialog.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowStyles.h"
#include "platform/shell/RenamePrompt.h"
#include "tests/support/ModalScript.h"
#include "tests/support/WindowHarness.h"
#include "tests/support/ShellSandbox.h"

namespace ostrana::test {
namespace {

namespace fs = std::filesystem;

struct IdListFree {
    void operator()(ITEMIDLIST* list) const { ILFree(list); }
};
using IdList = std::unique_ptr<ITEMIDLIST, IdListFree>;

template <typename T> struct Released {
    void operator()(T* object) const { object->Release(); }
};
template <typename T> using Ref = std::unique_ptr<T, Released<T>>;

Ref<IShellFolder> FolderAt(const std::string& path) {
    IShellFolder* desktop = nullptr;
    SHGetDesktopFolder(&desktop);
    std::u16string wide = ToWide(path);
    LPITEMIDLIST list = nullptr;
    IShellFolder* folder = nullptr;
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &list, nullptr))) {
        desktop->BindToObject(list, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder));
    }
    ILFree(list);
    desktop->Release();
    return Ref<IShellFolder>(folder);
}

IdList Child(IShellFolder* folder, const std::string& name) {
    std::u16string wide = ToWide(name);
    LPITEMIDLIST list = nullptr;
    EXPECT_EQ(folder->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &list, nullptr), S_OK) << name;
    return IdList(list);
}

template <typename T> Ref<T> UiObject(IShellFolder* folder, const std::vector<LPCITEMIDLIST>& items, REFIID riid) {
    void* object = nullptr;
    HRESULT result = folder->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()), items.data(), riid, nullptr, &object);
    EXPECT_EQ(result, S_OK);
    return Ref<T>(static_cast<T*>(object));
}

std::string MenuText(HMENU menu, UINT id) {
    char text[64] = {};
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

HRESULT Invoke(IContextMenu* menu, LPCSTR verb, DWORD mask = 0) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.lpVerb = verb;
    return menu->InvokeCommand(&info);
}

std::vector<HWND> SheetsShown() {
    std::vector<HWND> sheets;
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            if (GetDlgItem(window, IDC_PROPERTY_NAME) != nullptr && IsWindowVisible(window)) {
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&sheets));
    return sheets;
}

std::string ItemText(HWND window, int id) {
    char text[260] = {};
    GetWindowTextA(GetDlgItem(window, id), text, sizeof text);
    return text;
}

class ShellUiObjectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_boxes = std::make_shared<HeadlessMessageBoxPresenter>();
        SetMessageBoxPresenter(m_boxes);
    }
    void TearDown() override {
        for (HWND sheet : SheetsShown()) {
            DestroyWindow(sheet);
        }
        SetMessageBoxPresenter(std::make_shared<HeadlessMessageBoxPresenter>());
        SetDocumentOpener({});
    }

    ShellSandbox m_sandbox;
    std::shared_ptr<HeadlessMessageBoxPresenter> m_boxes;
};

TEST_F(ShellUiObjectsTest, ContextMenuFillsTheCallersRangeAndNamesItsVerbs) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "a.txt");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "b.txt");
    Ref<IShellFolder> d = FolderAt("D:\\");
    IdList a = Child(d.get(), "a.txt");
    IdList b = Child(d.get(), "b.txt");
    Ref<IContextMenu> one = UiObject<IContextMenu>(d.get(), {a.get()}, IID_IContextMenu);
    ASSERT_NE(one, nullptr);

    HMENU menu = CreatePopupMenu();
    HRESULT used = one->QueryContextMenu(menu, 0, 20000, 29999, CMF_EXPLORE);
    EXPECT_EQ(used, 4);
    EXPECT_EQ(MenuText(menu, 20000), Utf8ToAnsi("열기(&O)"));
    EXPECT_EQ(MenuText(menu, 20001), Utf8ToAnsi("삭제(&D)"));
    EXPECT_EQ(MenuText(menu, 20002), Utf8ToAnsi("이름 바꾸기(&M)"));
    EXPECT_EQ(MenuText(menu, 20003), Utf8ToAnsi("속성(&R)"));
    EXPECT_EQ(GetMenuItemCount(menu), 6) << "two separators";
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 20000u);
    DestroyMenu(menu);

    char verb[32] = {};
    const char* const verbs[] = {"open", "delete", "rename", "properties"};
    for (UINT command = 0; command < 4; ++command) {
        ASSERT_EQ(one->GetCommandString(command, GCS_VERBA, nullptr, verb, sizeof verb), S_OK);
        EXPECT_STREQ(verb, verbs[command]);
    }
    EXPECT_TRUE(FAILED(one->GetCommandString(4, GCS_VERBA, nullptr, verb, sizeof verb)));

    HMENU narrow = CreatePopupMenu();
    EXPECT_EQ(one->QueryContextMenu(narrow, 0, 100, 101, CMF_NORMAL), 2) << "no id outside the range";
    EXPECT_EQ(GetMenuItemID(narrow, GetMenuItemCount(narrow) - 1), 101u);
    DestroyMenu(narrow);

    Ref<IContextMenu> two = UiObject<IContextMenu>(d.get(), {a.get(), b.get()}, IID_IContextMenu);
    HMENU both = CreatePopupMenu();
    two->QueryContextMenu(both, 0, 1, 10, CMF_NORMAL);
    EXPECT_NE(GetMenuState(both, 3, MF_BYCOMMAND) & MF_GRAYED, 0u) << "one name for two items cannot be typed";
    EXPECT_EQ(GetMenuState(both, 2, MF_BYCOMMAND) & MF_GRAYED, 0u);
    DestroyMenu(both);
    EXPECT_EQ(Invoke(two.get(), MAKEINTRESOURCEA(9)), E_INVALIDARG);
}

TEST_F(ShellUiObjectsTest, ContextMenuCommandsOpenDeleteAndShowProperties) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "keep.txt", "12345");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "gone.txt");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "trashed.txt");
    Ref<IShellFolder> d = FolderAt("D:\\");
    std::vector<std::string> opened;
    SetDocumentOpener([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    IdList keep = Child(d.get(), "keep.txt");
    Ref<IContextMenu> keepMenu = UiObject<IContextMenu>(d.get(), {keep.get()}, IID_IContextMenu);
    EXPECT_EQ(Invoke(keepMenu.get(), MAKEINTRESOURCEA(0)), S_OK);
    EXPECT_EQ(opened, (std::vector<std::string>{"D:\\keep.txt"}));

    EXPECT_EQ(Invoke(keepMenu.get(), "properties"), S_OK);
    std::vector<HWND> sheets = SheetsShown();
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(ItemText(sheets[0], IDC_PROPERTY_NAME), "keep.txt");
    EXPECT_EQ(ItemText(sheets[0], IDC_PROPERTY_LOCATION), "D:\\");
    EXPECT_EQ(ItemText(sheets[0], IDC_PROPERTY_SIZE), Utf8ToAnsi("1 KB (5 바이트)"));
    char caption[64] = {};
    GetWindowTextA(sheets[0], caption, sizeof caption);
    EXPECT_EQ(std::string(caption), Utf8ToAnsi("keep.txt 속성"));
    SendMessageA(sheets[0], WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(SheetsShown().empty()) << "확인 closes the sheet";

    IdList trashed = Child(d.get(), "trashed.txt");
    Ref<IContextMenu> trashMenu = UiObject<IContextMenu>(d.get(), {trashed.get()}, IID_IContextMenu);
    EXPECT_EQ(Invoke(trashMenu.get(), "delete"), S_OK);
    EXPECT_FALSE(fs::exists(m_sandbox.DriveD() / "trashed.txt"));
    EXPECT_TRUE(fs::exists(m_sandbox.Home() / ".local/share/Trash/info/trashed.txt.trashinfo"));

    IdList gone = Child(d.get(), "gone.txt");
    Ref<IContextMenu> goneMenu = UiObject<IContextMenu>(d.get(), {gone.get()}, IID_IContextMenu);
    EXPECT_EQ(Invoke(goneMenu.get(), MAKEINTRESOURCEA(1), CMIC_MASK_SHIFT_DOWN), S_OK);
    EXPECT_FALSE(fs::exists(m_sandbox.DriveD() / "gone.txt"));
    EXPECT_FALSE(fs::exists(m_sandbox.Home() / ".local/share/Trash/info/gone.txt.trashinfo")) << "Shift: removed";
}

TEST_F(ShellUiObjectsTest, ANameTheCodePageCannotHoldNeverActsOnTheFileItsLocalPathWouldName) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "a\U0001F600.txt", "emoji");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "a?.txt", "other");
    Ref<IShellFolder> d = FolderAt("D:\\");
    IdList plain = Child(d.get(), "a?.txt");
    // Both show as "a?.txt"; the emoji's is the one that is not the parsed id.
    IdList emoji;
    IEnumIDList* enumerator = nullptr;
    ASSERT_EQ(d->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &enumerator), S_OK);
    LPITEMIDLIST item = nullptr;
    while (enumerator->Next(1, &item, nullptr) == S_OK) {
        if (!ILIsSameBytes(item, plain.get())) {
            emoji.reset(item);
        } else {
            ILFree(item);
        }
    }
    enumerator->Release();
    ASSERT_NE(emoji, nullptr);

    IShellFolder* desktop = nullptr;
    SHGetDesktopFolder(&desktop);
    std::u16string wide = ToWide("D:\\");
    LPITEMIDLIST drive = nullptr;
    desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &drive, nullptr);
    desktop->Release();
    IdList absolute(ILCombine(drive, emoji.get()));
    ILFree(drive);
    char path[MAX_PATH] = {};
    EXPECT_FALSE(SHGetPathFromIDListA(absolute.get(), path)) << "no path that names another file";

    Ref<IContextMenu> menu = UiObject<IContextMenu>(d.get(), {emoji.get()}, IID_IContextMenu);
    EXPECT_TRUE(FAILED(Invoke(menu.get(), "delete", CMIC_MASK_SHIFT_DOWN)));
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "a?.txt"), "other");
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "a\U0001F600.txt"), "emoji");
}

TEST_F(ShellUiObjectsTest, RenameAsksForTheNewNameAndCancelKeepsTheOld) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "old.txt");
    Ref<IShellFolder> d = FolderAt("D:\\");
    IdList old = Child(d.get(), "old.txt");
    Ref<IContextMenu> menu = UiObject<IContextMenu>(d.get(), {old.get()}, IID_IContextMenu);
    ModalScript script;
    script.AnswerDialog(Utf8ToAnsi("이름 바꾸기"), {IDCANCEL});
    EXPECT_EQ(Invoke(menu.get(), "rename"), S_FALSE);
    EXPECT_EQ(script.Answered(), (std::vector<std::string>{Utf8ToAnsi("이름 바꾸기")}));
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "old.txt"));
    script.AnswerDialog(Utf8ToAnsi("이름 바꾸기"), {IDOK});
    EXPECT_EQ(Invoke(menu.get(), "rename"), S_OK) << "the old name filled in renames to itself";
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "old.txt"));
}

TEST_F(ShellUiObjectsTest, RenameTakesTheTypedNameInTheSameFolderAndRefusesPaths) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "docs" / "old.txt", "o");
    UiThread ui;
    WindowWaiter waiter;
    Ref<IShellFolder> docs = FolderAt("D:\\docs");
    IdList old = Child(docs.get(), "old.txt");
    Ref<IContextMenu> menu = UiObject<IContextMenu>(docs.get(), {old.get()}, IID_IContextMenu);
    auto renameTo = [&](const std::string& typed) {
        std::future<HRESULT> result = std::async(std::launch::async, [&] {
            HRESULT answer = E_FAIL;
            ui.Run([&] { answer = Invoke(menu.get(), "rename"); });
            return answer;
        });
        HWND prompt = waiter.WaitForTopLevel("#32770", Utf8ToAnsi("이름 바꾸기"));
        EXPECT_NE(prompt, nullptr);
        ui.Run([&] {
            char shown[64] = {};
            GetDlgItemTextA(prompt, IDC_RENAME_EDIT, shown, sizeof shown);
            EXPECT_STREQ(shown, "old.txt") << "the old name is filled in";
            SetDlgItemTextA(prompt, IDC_RENAME_EDIT, typed.c_str());
            SendMessageA(prompt, WM_COMMAND, IDOK, 0);
        });
        return AwaitModal(result);
    };
    EXPECT_TRUE(FAILED(renameTo("..\\escaped.txt")));
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "docs" / "old.txt"));
    EXPECT_FALSE(fs::exists(m_sandbox.DriveD() / "escaped.txt"));
    ASSERT_FALSE(m_boxes->Boxes().empty()) << "the refusal is shown";
    EXPECT_EQ(renameTo(Utf8ToAnsi("새 이름.txt")), S_OK);
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "docs" / "새 이름.txt"), "o");
}

TEST_F(ShellUiObjectsTest, DeleteChosenWithShiftHeldBypassesTheTrash) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "gone.txt");
    Ref<IShellFolder> d = FolderAt("D:\\");
    IdList gone = Child(d.get(), "gone.txt");
    Ref<IContextMenu> menu = UiObject<IContextMenu>(d.get(), {gone.get()}, IID_IContextMenu);
    UiThread ui;
    HWND window = ui.Get<HWND>([] {
        HWND created = CreateWindowExA(0, "Static", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                       nullptr, nullptr);
        SetFocus(created);
        return created;
    });
    ResetInputState();
    InjectKey(VK_SHIFT, true);
    ui.WaitIdle();
    ui.Run([&] {
        EXPECT_LT(GetKeyState(VK_SHIFT), 0);
        EXPECT_EQ(Invoke(menu.get(), "delete"), S_OK);
    });
    InjectKey(VK_SHIFT, false);
    ui.WaitIdle();
    ResetInputState();
    ui.Run([&] { DestroyWindow(window); });
    EXPECT_FALSE(fs::exists(m_sandbox.DriveD() / "gone.txt"));
    EXPECT_FALSE(fs::exists(m_sandbox.Home() / ".local/share/Trash/info/gone.txt.trashinfo"));
}

TEST_F(ShellUiObjectsTest, PropertiesOfThreeItemsOpenThreeSheets) {
    for (const char* name : {"one.txt", "two.txt", "three.txt"}) {
        m_sandbox.MakeFile(m_sandbox.DriveD() / name);
    }
    for (const char* path : {"D:\\one.txt", "D:\\two.txt", "D:\\three.txt"}) {
        SHELLEXECUTEINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_INVOKEIDLIST;
        info.lpVerb = "properties";
        info.lpFile = path;
        EXPECT_TRUE(ShellExecuteExA(&info)) << path;
    }
    EXPECT_EQ(SheetsShown().size(), 3u);
    SHELLEXECUTEINFOA missing{};
    missing.cbSize = sizeof missing;
    missing.lpVerb = "properties";
    missing.lpFile = "D:\\missing.txt";
    EXPECT_FALSE(ShellExecuteExA(&missing));
}

TEST_F(ShellUiObjectsTest, AfxMessageBoxShowsTheTextUnderTheApplicationsCaption) {
    EXPECT_EQ(AfxMessageBox("Needs to be implemented"), IDOK);
    ASSERT_EQ(m_boxes->Boxes().size(), 1u);
    EXPECT_EQ(m_boxes->Boxes()[0].text, "Needs to be implemented");
    EXPECT_FALSE(m_boxes->Boxes()[0].caption.empty());
    m_boxes->QueueAnswer(IDNO);
    EXPECT_EQ(AfxMessageBox("?", MB_YESNO), IDNO);
}

class DroppedFiles {
public:
    explicit DroppedFiles(const std::vector<std::string>& paths) {
        m_source.CacheGlobalData(CF_HDROP, reinterpret_cast<HGLOBAL>(CreateDropFiles(paths, POINT{0, 0}, FALSE)));
    }
    IDataObject* Data() const { return m_source.GetDataObject(); }

private:
    COleDataSource m_source;
};

TEST_F(ShellUiObjectsTest, DropTargetMovesWithinADriveCopiesAcrossAndRefusesServerItems) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "src" / "a.txt", "a");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "src" / "b.txt", "b");
    m_sandbox.MakeFolder(m_sandbox.DriveD() / "dst");
    Ref<IShellFolder> d = FolderAt("D:\\");
    IdList dst = Child(d.get(), "dst");
    Ref<IDropTarget> target = UiObject<IDropTarget>(d.get(), {dst.get()}, IID_IDropTarget);
    ASSERT_NE(target, nullptr);

    DroppedFiles server({"myfolder/a.txt"});
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(target->DragEnter(server.Data(), 0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    target->DragLeave();

    DroppedFiles local({"D:\\src\\a.txt"});
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(local.Data(), 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE)) << "the same drive moves";
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragOver(MK_CONTROL, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "Ctrl copies";
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(target->Drop(local.Data(), MK_CONTROL, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "dst" / "a.txt"), "a");
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "src" / "a.txt"));

    DroppedFiles moved({"D:\\src\\b.txt"});
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->Drop(moved.Data(), 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_FALSE(fs::exists(m_sandbox.DriveD() / "src" / "b.txt"));
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "dst" / "b.txt"), "b");

    // From another drive (C: is the root) the default is a copy; a folder never goes into itself.
    std::string elsewhere = HostToLocalPath((m_sandbox.Home() / "c.txt").string());
    m_sandbox.MakeFile(m_sandbox.Home() / "c.txt", "c");
    DroppedFiles across({elsewhere});
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(across.Data(), 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    target->DragLeave();
    DroppedFiles itself({"D:\\dst"});
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(itself.Data(), 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    target->DragLeave();

    // The shown folder's own target, as a file list asks for it.
    IDropTarget* shown = nullptr;
    Ref<IShellFolder> dstFolder = FolderAt("D:\\dst");
    ASSERT_EQ(dstFolder->CreateViewObject(nullptr, IID_IDropTarget, reinterpret_cast<void**>(&shown)), S_OK);
    DroppedFiles again({"D:\\src"});
    effect = DROPEFFECT_COPY;
    shown->Drop(again.Data(), 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "only what the source allows";
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "dst" / "src"));
    shown->Release();

    IdList file = Child(dstFolder.get(), "a.txt");
    LPCITEMIDLIST items[] = {file.get()};
    void* none = nullptr;
    EXPECT_EQ(dstFolder->GetUIObjectOf(nullptr, 1, items, IID_IDropTarget, nullptr, &none), E_NOINTERFACE);
}

} // namespace
} // namespace ostrana::test
