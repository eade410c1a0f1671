// The framework's file classes: CFile over a file of the local path mapping, and the exception
// that file operations throw (by value). Derived files (memory, global memory) override the
// virtual operations; a CArchive reads and writes through any of them.
#pragma once

#include <string>

#include "platform/base/Exception.h"
#include "platform/base/WinTypes.h"

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none = 0,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG osError = -1, std::string fileName = {})
        : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {}

    int m_cause;
    LONG m_lOsError;
    std::string m_strFileName;
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens or throws CFileException.
    CFile(LPCSTR fileName, UINT openFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE (with the cause in `error` when given) instead of throwing.
    virtual BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = nullptr);
    // Reads up to `count` bytes; returns how many were read (0 at the end).
    virtual UINT Read(void* buffer, UINT count);
    // Writes all bytes or throws.
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void Flush();
    virtual void Close();
    // Closes without throwing.
    virtual void Abort();

    ULONGLONG SeekToBegin() { return Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }

protected:
    // The position a seek in a file held in memory reaches; throws badSeek before its start.
    static SIZE_T MemorySeekTarget(LONGLONG offset, UINT from, SIZE_T position, SIZE_T length);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    std::string m_strFileName;

private:
    [[noreturn]] void ThrowLastError() const;
};
