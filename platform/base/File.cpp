// CFile maps its operations onto the ANSI file functions and turns their failures into
// CFileException with the nearest cause.
#include "platform/base/File.h"

#include "platform/base/FileApi.h"
#include "platform/base/LastError.h"

IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

int CauseFromError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return CFileException::fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: return CFileException::badPath;
    case ERROR_ACCESS_DENIED: return CFileException::accessDenied;
    case ERROR_INVALID_HANDLE: return CFileException::invalidFile;
    case ERROR_HANDLE_EOF: return CFileException::endOfFile;
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT: return CFileException::hardIO;
    default: return CFileException::genericException;
    }
}

} // namespace

CFile::CFile(LPCSTR fileName, UINT openFlags) {
    CFileException error;
    if (!Open(fileName, openFlags, &error)) {
        throw error;
    }
}

CFile::~CFile() { Abort(); }

BOOL CFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error) {
    Abort();
    DWORD access = GENERIC_READ;
    if ((openFlags & 3) == modeWrite) {
        access = GENERIC_WRITE;
    } else if ((openFlags & 3) == modeReadWrite) {
        access = GENERIC_READ | GENERIC_WRITE;
    }
    DWORD disposition = OPEN_EXISTING;
    if ((openFlags & modeCreate) != 0) {
        disposition = (openFlags & modeNoTruncate) != 0 ? OPEN_ALWAYS : CREATE_ALWAYS;
    }
    m_hFile =
        CreateFileA(fileName, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition, 0, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        if (error != nullptr) {
            DWORD osError = GetLastError();
            *error = CFileException(CauseFromError(osError), static_cast<LONG>(osError), fileName);
        }
        return FALSE;
    }
    m_strFileName = fileName;
    return TRUE;
}

void CFile::ThrowLastError() const {
    DWORD osError = GetLastError();
    throw CFileException(CauseFromError(osError), static_cast<LONG>(osError), m_strFileName);
}

UINT CFile::Read(void* buffer, UINT count) {
    DWORD read = 0;
    if (count > 0 && !ReadFile(m_hFile, buffer, count, &read, nullptr)) {
        ThrowLastError();
    }
    return read;
}

void CFile::Write(const void* buffer, UINT count) {
    DWORD written = 0;
    if (count > 0 && (!WriteFile(m_hFile, buffer, count, &written, nullptr) || written != count)) {
        ThrowLastError();
    }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    LARGE_INTEGER distance{offset};
    LARGE_INTEGER position{0};
    if (!SetFilePointerEx(m_hFile, distance, &position, from)) {
        ThrowLastError();
    }
    return static_cast<ULONGLONG>(position.QuadPart);
}

SIZE_T CFile::MemorySeekTarget(LONGLONG offset, UINT from, SIZE_T position, SIZE_T length) {
    LONGLONG base = from == begin ? 0 : from == current ? static_cast<LONGLONG>(position) : static_cast<LONGLONG>(length);
    LONGLONG target = base + offset;
    if (target < 0) {
        throw CFileException(CFileException::badSeek);
    }
    return static_cast<SIZE_T>(target);
}

ULONGLONG CFile::GetPosition() const {
    LARGE_INTEGER position{0};
    if (!SetFilePointerEx(m_hFile, LARGE_INTEGER{0}, &position, FILE_CURRENT)) {
        ThrowLastError();
    }
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER size{0};
    if (!GetFileSizeEx(m_hFile, &size)) {
        ThrowLastError();
    }
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::Flush() {
    if (m_hFile != INVALID_HANDLE_VALUE && !FlushFileBuffers(m_hFile)) {
        ThrowLastError();
    }
}

void CFile::Close() {
    if (m_hFile != INVALID_HANDLE_VALUE) {
        HANDLE file = m_hFile;
        m_hFile = INVALID_HANDLE_VALUE;
        if (!CloseHandle(file)) {
            ThrowLastError();
        }
    }
}

void CFile::Abort() {
    if (m_hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
}
