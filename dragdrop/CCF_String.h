// A plain-text payload: stored as the text's bytes and four zero bytes, read back up to the first
// zero byte in chunks of 260 bytes.
#pragma once

#include <string>

#include "platform/base/Archive.h"

class CCF_String : public CObject {
    DECLARE_SERIAL(CCF_String)
public:
    CCF_String() = default;
    explicit CCF_String(std::string text) : m_strText(std::move(text)) {}
    ~CCF_String() override = default;

    void Serialize(CArchive& ar) override;
    virtual std::string GetString() const { return m_strText; }

private:
    std::string m_strText;
};
