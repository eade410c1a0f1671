// A memory file over a global memory block, as data objects exchange it. Writing grows the block
// in steps of `growBytes` (so its GlobalSize is a multiple of the step, zero beyond the data);
// a block attached for reading has the block's size as its length. The file owns the block until
// Detach hands it over.
#pragma once

#include "platform/base/File.h"
#include "platform/ole/GlobalMemory.h"

class CSharedFile : public CFile {
    DECLARE_DYNAMIC(CSharedFile)
public:
    explicit CSharedFile(UINT allocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT growBytes = 4096);
    ~CSharedFile() override;

    // Takes the block; with allowGrow FALSE, writing past its size throws.
    void SetHandle(HGLOBAL memory, BOOL allowGrow = TRUE);
    // The block, which now belongs to the caller; the file is empty afterwards.
    HGLOBAL Detach();

    BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = nullptr) override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    ULONGLONG GetLength() const override { return m_nFileSize; }
    void Flush() override {}
    void Close() override;
    void Abort() override;

private:
    void Grow(SIZE_T needed);

    HGLOBAL m_hGlobal = nullptr;
    UINT m_nAllocFlags;
    UINT m_nGrowBytes;
    bool m_bAllowGrow = true;
    SIZE_T m_nPosition = 0;
    SIZE_T m_nFileSize = 0;
};
