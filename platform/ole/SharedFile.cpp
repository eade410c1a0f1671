#include "platform/ole/SharedFile.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CSharedFile, CFile)

CSharedFile::CSharedFile(UINT allocFlags, UINT growBytes)
    : m_nAllocFlags(allocFlags), m_nGrowBytes(growBytes == 0 ? 4096 : growBytes) {}

CSharedFile::~CSharedFile() { Abort(); }

void CSharedFile::SetHandle(HGLOBAL memory, BOOL allowGrow) {
    Abort();
    m_hGlobal = memory;
    m_bAllowGrow = allowGrow != FALSE;
    m_nFileSize = GlobalSize(memory);
    m_nPosition = 0;
}

HGLOBAL CSharedFile::Detach() {
    HGLOBAL memory = m_hGlobal;
    m_hGlobal = nullptr;
    m_nFileSize = 0;
    m_nPosition = 0;
    return memory;
}

BOOL CSharedFile::Open(LPCSTR /*fileName*/, UINT /*openFlags*/, CFileException* error) {
    if (error != nullptr) {
        *error = CFileException(CFileException::genericException);
    }
    return FALSE;
}

UINT CSharedFile::Read(void* buffer, UINT count) {
    if (m_nPosition >= m_nFileSize || count == 0) {
        return 0;
    }
    ostrana::GlobalLockGuard data(m_hGlobal);
    if (!data) {
        throw CFileException(CFileException::invalidFile);
    }
    auto available = static_cast<UINT>(std::min<SIZE_T>(count, m_nFileSize - m_nPosition));
    std::memcpy(buffer, data.Data() + m_nPosition, available);
    m_nPosition += available;
    return available;
}

void CSharedFile::Grow(SIZE_T needed) {
    SIZE_T capacity = m_hGlobal != nullptr ? GlobalSize(m_hGlobal) : 0;
    if (needed <= capacity) {
        return;
    }
    if (!m_bAllowGrow) {
        throw CFileException(CFileException::diskFull);
    }
    SIZE_T rounded = (needed + m_nGrowBytes - 1) / m_nGrowBytes * m_nGrowBytes;
    HGLOBAL grown = m_hGlobal == nullptr ? GlobalAlloc(m_nAllocFlags, rounded)
                                         : GlobalReAlloc(m_hGlobal, rounded, GMEM_MOVEABLE);
    if (grown == nullptr) {
        throw CFileException(CFileException::diskFull);
    }
    m_hGlobal = grown;
}

void CSharedFile::Write(const void* buffer, UINT count) {
    if (count == 0) {
        return;
    }
    SIZE_T needed = m_nPosition + count;
    Grow(needed);
    ostrana::GlobalLockGuard data(m_hGlobal);
    if (!data) {
        throw CFileException(CFileException::invalidFile);
    }
    std::memcpy(data.Data() + m_nPosition, buffer, count);
    m_nPosition = needed;
    m_nFileSize = std::max(m_nFileSize, m_nPosition);
}

ULONGLONG CSharedFile::Seek(LONGLONG offset, UINT from) {
    m_nPosition = MemorySeekTarget(offset, from, m_nPosition, m_nFileSize);
    return m_nPosition;
}

void CSharedFile::Close() { Abort(); }

void CSharedFile::Abort() {
    if (m_hGlobal != nullptr) {
        GlobalFree(m_hGlobal);
        m_hGlobal = nullptr;
    }
    m_nFileSize = 0;
    m_nPosition = 0;
}
