// A storing or loading archive over a CFile, with the framework's binary forms: numbers
// little-endian at their natural width, strings as length-prefixed bytes (see WriteString).
// The archive buffers `bufSize` bytes; Close (or destruction) flushes what a storing archive holds.
// Running out of data in a typed read throws CArchiveException (by value).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/File.h"

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none = 0, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    explicit CArchiveException(int cause = none, std::string fileName = {})
        : m_cause(cause), m_strFileName(std::move(fileName)) {}

    int m_cause;
    std::string m_strFileName;
};

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1 };

    CArchive(CFile* file, UINT mode, int bufSize = 4096);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return m_bLoading; }
    BOOL IsStoring() const { return !m_bLoading; }
    CFile* GetFile() const { return m_pFile; }

    // Up to `count` bytes; fewer only at the end of the data.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    void Flush();
    // Flushes a storing archive and detaches it from its file; further use throws.
    void Close();
    // Detaches without flushing and without throwing.
    void Abort();

    CArchive& operator<<(BYTE value);
    CArchive& operator<<(char value);
    CArchive& operator<<(bool value);
    CArchive& operator<<(SHORT value);
    CArchive& operator<<(WORD value);
    CArchive& operator<<(LONG value);
    CArchive& operator<<(DWORD value);
    CArchive& operator<<(LONGLONG value);
    CArchive& operator<<(ULONGLONG value);
    CArchive& operator<<(float value);
    CArchive& operator<<(double value);
    CArchive& operator<<(const std::string& text);
    CArchive& operator<<(LPCSTR text);

    CArchive& operator>>(BYTE& value);
    CArchive& operator>>(char& value);
    CArchive& operator>>(bool& value);
    CArchive& operator>>(SHORT& value);
    CArchive& operator>>(WORD& value);
    CArchive& operator>>(LONG& value);
    CArchive& operator>>(DWORD& value);
    CArchive& operator>>(LONGLONG& value);
    CArchive& operator>>(ULONGLONG& value);
    CArchive& operator>>(float& value);
    CArchive& operator>>(double& value);
    CArchive& operator>>(std::string& text);

    // The framework's string form: a length below 255 as one byte; else 0xFF and a 16-bit length
    // below 0xFFFE; else 0xFF, 0xFFFF and a 32-bit length; then the bytes, no terminator.
    void WriteString(std::string_view text);
    // Also accepts the wide marker (0xFF 0xFFFE before the length): the length then counts 16-bit
    // characters, converted to the ANSI code page. Memory grows only with data actually read.
    std::string ReadString();

    // Element counts of collections: 16 bits, or 0xFFFF and 32 bits.
    void WriteCount(DWORD count);
    DWORD ReadCount();

private:
    template <typename T> void WriteLittleEndian(T value);
    template <typename T> T ReadLittleEndian();
    template <typename T> CArchive& Put(T value) {
        WriteLittleEndian(value);
        return *this;
    }
    template <typename T> CArchive& Get(T& value) {
        value = ReadLittleEndian<T>();
        return *this;
    }
    void ReadExact(void* buffer, UINT count);
    DWORD ReadStringLength(bool& wide);
    void CheckOpen() const;

    CFile* m_pFile;
    bool m_bLoading;
    std::vector<BYTE> m_buffer;
    SIZE_T m_nBufferPos = 0;  // next byte to hand out (load) or to fill (store)
    SIZE_T m_nBufferSize = 0; // valid bytes in the buffer when loading
};
