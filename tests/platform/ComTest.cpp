// Automation values and COM plumbing: BSTR layout, VARIANT copies and conversions, GUID texts,
// ProgIDs, type library registration and classes served by a module the registry names.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/base/LocalPath.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/Com.h"
#include "platform/com/Guid.h"
#include "platform/com/TypeLib.h"
#include "platform/registry/RegistryText.h"
#include "tests/platform/ComTestInterface.h"
#include "tests/support/TempDir.h"

namespace {

constexpr GUID kLibrary = {0x12345678, 0x9ABC, 0xDEF0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
constexpr IID kInterface = {0x12345679, 0x9ABC, 0xDEF0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};

void SetClassesValue(const std::string& path, const std::string& value) {
    ASSERT_TRUE(ostrana::WriteRegistryText(HKEY_CLASSES_ROOT, path, "", value));
}

std::string ClassesValue(const std::string& path, const char* name = "") {
    if (!ostrana::RegistryKeyExists(HKEY_CLASSES_ROOT, path)) return "(no key)";
    return ostrana::ReadRegistryText(HKEY_CLASSES_ROOT, path, name).value_or("(no value)");
}

TEST(Bstr, KeepsItsLengthThroughEmbeddedZerosAndRoundTripsKorean) {
    const OLECHAR text[] = {u'a', 0, u'b'};
    BSTR value = SysAllocStringLen(text, 3);
    EXPECT_EQ(3u, SysStringLen(value));
    EXPECT_EQ(6u, SysStringByteLen(value));
    EXPECT_EQ(0, value[3]);
    SysFreeString(value);
    EXPECT_EQ(0u, SysStringLen(nullptr));

    std::string ansi = ostrana::Utf8ToAnsi("내 파일보관함");
    BSTR korean = ostrana::AnsiToBstr(ansi);
    EXPECT_EQ(7u, SysStringLen(korean));
    EXPECT_EQ(ansi, ostrana::BstrToAnsi(korean));
    SysFreeString(korean);
}

TEST(Variant, CopiesOwnTheirTextAndConversionsGiveScriptTexts) {
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(u"WAXLO_AUTH=1");
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(S_OK, VariantCopy(&copy, &source));
    EXPECT_NE(source.bstrVal, copy.bstrVal);
    VariantClear(&source);
    EXPECT_EQ(u"WAXLO_AUTH=1", ostrana::BstrText(copy.bstrVal));
    VariantClear(&copy);
    EXPECT_EQ(VT_EMPTY, copy.vt);

    struct Case {
        VARIANT value;
        std::u16string text;
    };
    VARIANT number{};
    number.vt = VT_I4;
    number.lVal = -42;
    VARIANT truth{};
    truth.vt = VT_BOOL;
    truth.boolVal = VARIANT_TRUE;
    VARIANT real{};
    real.vt = VT_R8;
    real.dblVal = 2.5;
    VARIANT empty{};
    for (const Case& c : {Case{number, u"-42"}, Case{truth, u"True"}, Case{real, u"2.5"}, Case{empty, u""}}) {
        VARIANT converted;
        VariantInit(&converted);
        ASSERT_EQ(S_OK, VariantChangeType(&converted, &c.value, 0, VT_BSTR));
        EXPECT_EQ(VT_BSTR, converted.vt);
        EXPECT_EQ(c.text, ostrana::BstrText(converted.bstrVal));
        VariantClear(&converted);
    }
    // In place: the source is read before it is cleared.
    ASSERT_EQ(S_OK, VariantChangeType(&number, &number, 0, VT_BSTR));
    EXPECT_EQ(u"-42", ostrana::BstrText(number.bstrVal));
    VariantClear(&number);

    VARIANT null{};
    null.vt = VT_NULL;
    VARIANT target;
    VariantInit(&target);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, VariantChangeType(&target, &null, 0, VT_BSTR));
    EXPECT_EQ(VT_EMPTY, target.vt);
}

TEST(Guid, TextsRoundTripAndMalformedTextsAreRefused) {
    EXPECT_EQ("{12345678-9ABC-DEF0-0123-456789ABCDEF}", ostrana::GuidText(kLibrary));
    auto parsed = ostrana::ParseGuid("{12345678-9abc-def0-0123-456789abcdef}");
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(*parsed == kLibrary);
    for (const char* bad : {"", "12345678-9ABC-DEF0-0123-456789ABCDEF", "{12345678-9ABC-DEF0-0123-456789ABCDEG}",
                            "{12345678+9ABC-DEF0-0123-456789ABCDEF}", "{12345678-9ABC-DEF0-0123-456789ABCDEF}x"}) {
        EXPECT_FALSE(ostrana::ParseGuid(bad)) << bad;
    }
    OLECHAR buffer[39];
    EXPECT_EQ(39, StringFromGUID2(kLibrary, buffer, 39));
    EXPECT_EQ(0, StringFromGUID2(kLibrary, buffer, 38));
    CLSID back{};
    EXPECT_EQ(S_OK, CLSIDFromString(buffer, &back));
    EXPECT_TRUE(back == kLibrary);
}

TEST(Guid, ProgIdsAreFoundUnderTheClassesRoot) {
    ostrana::test::ScopedRegistryFile registry;
    CLSID clsid{};
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(u"OSTRANA.Test.1", &clsid));
    SetClassesValue("OSTRANA.Test.1\\CLSID", ostrana::GuidText(kLibrary));
    EXPECT_EQ(S_OK, CLSIDFromProgID(u"OSTRANA.Test.1", &clsid));
    EXPECT_TRUE(clsid == kLibrary);
    SetClassesValue("OSTRANA.Broken.1\\CLSID", "not a guid");
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(u"OSTRANA.Broken.1", &clsid));
}

TEST(TypeLibrary, RegistersTwiceAlikeAndUnregistersOnlyWhatIsThere) {
    ostrana::test::ScopedRegistryFile registry;
    TypeLibDescription library{kLibrary, "TestLib", 1, 0, "Test Control", {{kInterface, "_DTest"}}};
    ASSERT_EQ(S_OK, RegisterTypeLib(library, "C:\\opt\\test.so"));
    std::string first = ostrana::test::ReadFileBytes(registry.FilePath());
    ASSERT_EQ(S_OK, RegisterTypeLib(library, "C:\\opt\\test.so"));
    EXPECT_EQ(first, ostrana::test::ReadFileBytes(registry.FilePath()));
    std::string libid = ostrana::GuidText(kLibrary);
    EXPECT_EQ("Test Control", ClassesValue("TypeLib\\" + libid + "\\1.0"));
    EXPECT_EQ("C:\\opt\\test.so", ClassesValue("TypeLib\\" + libid + "\\1.0\\0\\win32"));
    EXPECT_EQ(libid, ClassesValue("Interface\\" + ostrana::GuidText(kInterface) + "\\TypeLib"));
    EXPECT_EQ("1.0", ClassesValue("Interface\\" + ostrana::GuidText(kInterface) + "\\TypeLib", "Version"));

    EXPECT_EQ(TYPE_E_REGISTRYACCESS, UnRegisterTypeLib(kLibrary, 2, 0, 0, SYS_WIN32));
    ASSERT_EQ(S_OK, UnRegisterTypeLib(kLibrary, 1, 0, 0, SYS_WIN32));
    EXPECT_EQ("(no key)", ClassesValue("TypeLib\\" + libid));
    EXPECT_EQ("(no key)", ClassesValue("Interface\\" + ostrana::GuidText(kInterface)));
    EXPECT_EQ(TYPE_E_REGISTRYACCESS, UnRegisterTypeLib(kLibrary, 1, 0, 0, SYS_WIN32));
}

TEST(InProcessServer, TheRegisteredModuleIsLoadedAskedForItsFactoryAndUnloadedWhenIdle) {
    ostrana::test::ScopedRegistryFile registry;
    ITestAnswer* answer = nullptr;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_TestAnswer, nullptr, CLSCTX_INPROC_SERVER, IID_ITestAnswer,
                                                    reinterpret_cast<void**>(&answer)));
    std::string key = "CLSID\\" + ostrana::GuidText(CLSID_TestAnswer) + "\\InprocServer32";
    SetClassesValue(key, ostrana::HostToLocalPath("/nonexistent/module.so"));
    EXPECT_EQ(CO_E_DLLNOTFOUND, CoCreateInstance(CLSID_TestAnswer, nullptr, CLSCTX_INPROC_SERVER, IID_ITestAnswer,
                                                 reinterpret_cast<void**>(&answer)));

    SetClassesValue(key, ostrana::HostToLocalPath(OSTRANA_COM_TEST_SERVER));
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_TestAnswer, nullptr, CLSCTX_INPROC_SERVER, IID_ITestAnswer,
                                     reinterpret_cast<void**>(&answer)));
    EXPECT_EQ(42, answer->Value());
    IUnknown* other = nullptr;
    EXPECT_EQ(E_NOINTERFACE, CoCreateInstance(CLSID_TestAnswer, nullptr, CLSCTX_INPROC_SERVER, IID_IClassFactory,
                                              reinterpret_cast<void**>(&other)));
    CoFreeUnusedLibraries(); // an object is alive: the module stays
    EXPECT_EQ(42, answer->Value());
    answer->Release();
    CoFreeUnusedLibraries();
}

} // namespace
