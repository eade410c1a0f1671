// The dropped-files payload: names in the order appended, the drop point and the non-client
// flag. Stored as the dropped-files block (20-byte header, each name and a zero, one more zero);
// dropped files are read back through the dropped-files query, not through this class.
#pragma once

#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/gdi/GdiTypes.h"

class CCF_HDROP : public CObject {
    DECLARE_SERIAL(CCF_HDROP)
public:
    CCF_HDROP() = default;
    ~CCF_HDROP() override = default;

    void Serialize(CArchive& ar) override;

    void SetDropPoint(POINT point, BOOL nonClient);
    void AddFileName(const std::string& name);
    // The name at an index, empty when there is none.
    std::string GetFileName(int index) const;
    int GetCount() const { return static_cast<int>(m_saFileNames.size()); }
    POINT GetDropPoint() const { return m_pt; }
    BOOL IsNonClient() const { return m_bNC; }

private:
    std::vector<std::string> m_saFileNames;
    POINT m_pt{0, 0};
    BOOL m_bNC = FALSE;
};
