#include <gtest/gtest.h>

#include <memory>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"

namespace {

class CAnimal : public CObject {
    DECLARE_DYNAMIC(CAnimal)
};
IMPLEMENT_DYNAMIC(CAnimal, CObject)

class CDog : public CAnimal {
    DECLARE_SERIAL(CDog)
public:
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_nLegs;
        } else {
            ar >> m_nLegs;
        }
    }
    LONG m_nLegs = 4;
};
IMPLEMENT_SERIAL(CDog, CAnimal, 1)

class CCat : public CAnimal {
    DECLARE_DYNCREATE(CCat)
};
IMPLEMENT_DYNCREATE(CCat, CAnimal)

} // namespace

TEST(RuntimeClass, KindFollowsTheBaseChainOnly) {
    CDog dog;
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CDog)));
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CAnimal)));
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(dog.IsKindOf(RUNTIME_CLASS(CCat)));
    EXPECT_STREQ(dog.GetRuntimeClass()->m_lpszClassName, "CDog");
    EXPECT_EQ(dog.GetRuntimeClass()->m_wSchema, 1u);
    EXPECT_TRUE(dog.IsSerializable());
    EXPECT_FALSE(CCat().IsSerializable());
}

TEST(RuntimeClass, CreatesByNameOnlyWhatCanBeCreated) {
    std::unique_ptr<CObject> cat(CRuntimeClass::CreateObject("CCat"));
    ASSERT_NE(cat, nullptr);
    EXPECT_TRUE(cat->IsKindOf(RUNTIME_CLASS(CCat)));

    EXPECT_EQ(CRuntimeClass::FromName("CAnimal"), RUNTIME_CLASS(CAnimal));
    EXPECT_EQ(CRuntimeClass::CreateObject("CAnimal"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject("ccat"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}

TEST(RuntimeClass, DynamicallyCreatedObjectSerialisesThroughItsBase) {
    CMemFile file;
    {
        CDog dog;
        dog.m_nLegs = 3;
        CArchive ar(&file, CArchive::store);
        dog.Serialize(ar);
        ar.Close();
    }
    file.SeekToBegin();
    std::unique_ptr<CObject> copy(RUNTIME_CLASS(CDog)->CreateObject());
    CArchive ar(&file, CArchive::load);
    copy->Serialize(ar);
    EXPECT_EQ(static_cast<CDog*>(copy.get())->m_nLegs, 3);
}
