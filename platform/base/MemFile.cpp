#include "platform/base/MemFile.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT growBytes) : m_nGrowBytes(growBytes == 0 ? 1024 : growBytes) {}

CMemFile::CMemFile(const BYTE* buffer, UINT size, UINT growBytes)
    : m_buffer(buffer, buffer + size), m_nGrowBytes(growBytes), m_nFileSize(size) {}

BOOL CMemFile::Open(LPCSTR /*fileName*/, UINT /*openFlags*/, CFileException* error) {
    if (error != nullptr) {
        *error = CFileException(CFileException::genericException);
    }
    return FALSE;
}

UINT CMemFile::Read(void* buffer, UINT count) {
    if (m_nPosition >= m_nFileSize) {
        return 0;
    }
    auto available = static_cast<UINT>(std::min<SIZE_T>(count, m_nFileSize - m_nPosition));
    std::memcpy(buffer, m_buffer.data() + m_nPosition, available);
    m_nPosition += available;
    return available;
}

void CMemFile::Write(const void* buffer, UINT count) {
    if (count == 0) {
        return;
    }
    SIZE_T needed = m_nPosition + count;
    if (needed > m_buffer.size()) {
        if (m_nGrowBytes == 0) {
            throw CFileException(CFileException::diskFull);
        }
        m_buffer.resize((needed + m_nGrowBytes - 1) / m_nGrowBytes * m_nGrowBytes);
    }
    std::memcpy(m_buffer.data() + m_nPosition, buffer, count);
    m_nPosition = needed;
    m_nFileSize = std::max(m_nFileSize, m_nPosition);
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
    m_nPosition = MemorySeekTarget(offset, from, m_nPosition, m_nFileSize);
    return m_nPosition;
}

std::vector<BYTE> CMemFile::Bytes() const {
    return std::vector<BYTE>(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_nFileSize));
}
