// A file in memory: grows in steps of `growBytes` as it is written, or reads an attached buffer.
// The length is what was written (or the attached size); bytes beyond it are never read.
#pragma once

#include <vector>

#include "platform/base/File.h"

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT growBytes = 1024);
    // Reads (and, with growBytes > 0, writes) a copy of the given bytes.
    CMemFile(const BYTE* buffer, UINT size, UINT growBytes = 0);
    ~CMemFile() override = default;

    BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = nullptr) override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    ULONGLONG GetLength() const override { return m_nFileSize; }
    void Flush() override {}
    void Close() override {}
    void Abort() override {}

    // The written bytes.
    std::vector<BYTE> Bytes() const;

private:
    std::vector<BYTE> m_buffer;
    UINT m_nGrowBytes;
    SIZE_T m_nPosition = 0;
    SIZE_T m_nFileSize = 0;
};
