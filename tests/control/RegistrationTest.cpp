// Self-registration of the control module: the entries a container reads, registering twice, and
// the order of unregistration that leaves the classes when the type library cannot be removed.
#include <gtest/gtest.h>

#include "control/OstranaIds.h"
#include "control/OstranaRegistration.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/Guid.h"
#include "platform/registry/RegistryText.h"
#include "tests/support/TempDir.h"

namespace {

std::string Value(const std::string& path, const char* name = "") {
    if (!ostrana::RegistryKeyExists(HKEY_CLASSES_ROOT, path)) return "(no key)";
    return ostrana::ReadRegistryText(HKEY_CLASSES_ROOT, path, name).value_or("(no value)");
}

const std::string kModule = "C:\\opt\\ostrana\\libostrana.so";

TEST(Registration, WritesTheControlPageAndLibraryEntriesAndRegistersTwiceAlike) {
    ostrana::test::ScopedRegistryFile registry;
    ASSERT_EQ(S_OK, RegisterOstranaModule(kModule));
    std::string first = ostrana::test::ReadFileBytes(registry.FilePath());
    ASSERT_EQ(S_OK, RegisterOstranaModule(kModule));
    EXPECT_EQ(first, ostrana::test::ReadFileBytes(registry.FilePath()));

    std::string control = "CLSID\\" + ostrana::GuidText(CLSID_Ostrana);
    EXPECT_EQ("Zelkor TAVEN WebHard Control", Value(control));
    EXPECT_EQ("OSTRANA.OstranaCtrl.1", Value(control + "\\ProgID"));
    EXPECT_EQ(kModule, Value(control + "\\InprocServer32"));
    EXPECT_EQ("Apartment", Value(control + "\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ("131473", Value(control + "\\MiscStatus\\1"));
    EXPECT_EQ(0x20191u, kOstranaMiscStatus);
    EXPECT_EQ(kModule + ", 1", Value(control + "\\ToolboxBitmap32"));
    EXPECT_EQ(ostrana::GuidText(LIBID_OstranaLib), Value(control + "\\TypeLib"));
    EXPECT_EQ("1.0", Value(control + "\\Version"));
    EXPECT_EQ(ostrana::GuidText(CLSID_Ostrana), Value("OSTRANA.OstranaCtrl.1\\CLSID"));
    std::string page = "CLSID\\" + ostrana::GuidText(CLSID_OstranaPropPage);
    EXPECT_EQ("Zelkor TAVEN WebHard Control Property Page", Value(page));
    EXPECT_EQ(kModule, Value(page + "\\InprocServer32"));
    EXPECT_EQ("(no key)", Value("OSTRANA.OstranaPropPage.1"));
    std::string library = "TypeLib\\" + ostrana::GuidText(LIBID_OstranaLib) + "\\1.0";
    EXPECT_EQ(kModule, Value(library + "\\0\\win32"));
    EXPECT_EQ("_DOstrana", Value("Interface\\" + ostrana::GuidText(DIID__DOstrana)));
    EXPECT_EQ("_DOstranaEvents", Value("Interface\\" + ostrana::GuidText(DIID__DOstranaEvents)));
}

TEST(Registration, UnregisteringRemovesEverythingAndFailsFirstOnAMissingLibrary) {
    ostrana::test::ScopedRegistryFile registry;
    ASSERT_EQ(S_OK, RegisterOstranaModule(kModule));
    ASSERT_EQ(S_OK, UnregisterOstranaModule());
    EXPECT_EQ("(no key)", Value("CLSID\\" + ostrana::GuidText(CLSID_Ostrana)));
    EXPECT_EQ("(no key)", Value("CLSID\\" + ostrana::GuidText(CLSID_OstranaPropPage)));
    EXPECT_EQ("(no key)", Value("OSTRANA.OstranaCtrl.1"));
    EXPECT_EQ("(no key)", Value("TypeLib\\" + ostrana::GuidText(LIBID_OstranaLib)));

    // The library's entries are gone, so a second unregistration fails before it touches the classes.
    ASSERT_TRUE(UpdateControlRegistry(TRUE, kModule));
    EXPECT_EQ(SELFREG_E_TYPELIB, UnregisterOstranaModule());
    EXPECT_EQ("Zelkor TAVEN WebHard Control", Value("CLSID\\" + ostrana::GuidText(CLSID_Ostrana)));
}

} // namespace
