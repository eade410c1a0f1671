// A virtual-file descriptor group offering one Internet shortcut named after a base name. Stored as
// the count and one 332-byte descriptor (or a count of 0 when the base name is empty); read back
// as the count and that many descriptors, which the object then owns.
#pragma once

#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/shell/FileDescriptor.h"

class CCF_FileGroupDescriptor : public CObject {
    DECLARE_SERIAL(CCF_FileGroupDescriptor)
public:
    CCF_FileGroupDescriptor() = default;
    explicit CCF_FileGroupDescriptor(std::string baseName) : m_strBaseName(std::move(baseName)) {}
    ~CCF_FileGroupDescriptor() override = default;

    void Serialize(CArchive& ar) override;

    const std::string& GetBaseName() const { return m_strBaseName; }
    UINT GetCount() const { return m_nCount; }
    // The descriptor at an index, null outside the array.
    const FILEDESCRIPTORA* GetDescriptor(UINT index) const;

    // The shortcut's file name: the base name (cut on a character boundary to fit the name field
    // with ".url" and its terminator) and ".url".
    std::string ShortcutFileName() const;

private:
    void Store(CArchive& ar) const;
    void Load(CArchive& ar);

    std::string m_strBaseName;
    UINT m_nCount = 0;
    std::vector<FILEDESCRIPTORA> m_descriptors;
};
