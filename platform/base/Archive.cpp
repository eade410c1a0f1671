// Buffered reading and writing; every typed value goes through the little-endian helpers so the
// stored bytes are the same on any host.
#include "platform/base/Archive.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/base/CodePage.h"

IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

// Strings longer than this are read in pieces, so a forged length cannot reserve memory that
// the data does not back.
constexpr UINT kStringChunk = 64 * 1024;

} // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufSize)
    : m_pFile(file), m_bLoading((mode & load) != 0), m_buffer(static_cast<SIZE_T>(std::max(bufSize, 128))) {}

CArchive::~CArchive() {
    if (m_pFile != nullptr && !m_bLoading) {
        try {
            Flush();
        } catch (const CException&) {
            // Destruction cannot report; callers that care call Close().
        }
    }
}

void CArchive::CheckOpen() const {
    if (m_pFile == nullptr) {
        throw CArchiveException(CArchiveException::genericException);
    }
}

UINT CArchive::Read(void* buffer, UINT count) {
    CheckOpen();
    if (!m_bLoading) {
        throw CArchiveException(CArchiveException::writeOnly);
    }
    auto* out = static_cast<BYTE*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (m_nBufferPos == m_nBufferSize) {
            UINT remaining = count - done;
            if (remaining >= m_buffer.size()) {
                // Large reads bypass the buffer.
                UINT got = m_pFile->Read(out + done, remaining);
                done += got;
                if (got == 0) {
                    break;
                }
                continue;
            }
            m_nBufferSize = m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
            m_nBufferPos = 0;
            if (m_nBufferSize == 0) {
                break;
            }
        }
        auto take = static_cast<UINT>(std::min<SIZE_T>(count - done, m_nBufferSize - m_nBufferPos));
        std::memcpy(out + done, m_buffer.data() + m_nBufferPos, take);
        m_nBufferPos += take;
        done += take;
    }
    return done;
}

void CArchive::ReadExact(void* buffer, UINT count) {
    if (Read(buffer, count) != count) {
        throw CArchiveException(CArchiveException::endOfFile);
    }
}

void CArchive::Write(const void* buffer, UINT count) {
    CheckOpen();
    if (m_bLoading) {
        throw CArchiveException(CArchiveException::readOnly);
    }
    const auto* in = static_cast<const BYTE*>(buffer);
    while (count > 0) {
        if (m_nBufferPos == m_buffer.size()) {
            Flush();
        }
        auto take = static_cast<UINT>(std::min<SIZE_T>(count, m_buffer.size() - m_nBufferPos));
        std::memcpy(m_buffer.data() + m_nBufferPos, in, take);
        m_nBufferPos += take;
        in += take;
        count -= take;
    }
}

void CArchive::Flush() {
    CheckOpen();
    if (!m_bLoading && m_nBufferPos > 0) {
        SIZE_T pending = m_nBufferPos;
        m_nBufferPos = 0;
        m_pFile->Write(m_buffer.data(), static_cast<UINT>(pending));
    }
}

void CArchive::Close() {
    CheckOpen();
    if (!m_bLoading) {
        Flush();
    }
    m_pFile = nullptr;
}

void CArchive::Abort() { m_pFile = nullptr; }

template <typename T> void CArchive::WriteLittleEndian(T value) {
    BYTE bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) {
        std::reverse(bytes, bytes + sizeof(T));
    }
    Write(bytes, sizeof(T));
}

template <typename T> T CArchive::ReadLittleEndian() {
    BYTE bytes[sizeof(T)];
    ReadExact(bytes, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) {
        std::reverse(bytes, bytes + sizeof(T));
    }
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

CArchive& CArchive::operator<<(BYTE value) { return Put(value); }
CArchive& CArchive::operator<<(char value) { return Put(value); }
CArchive& CArchive::operator<<(bool value) { return Put(static_cast<BYTE>(value ? 1 : 0)); }
CArchive& CArchive::operator<<(SHORT value) { return Put(value); }
CArchive& CArchive::operator<<(WORD value) { return Put(value); }
CArchive& CArchive::operator<<(LONG value) { return Put(value); }
CArchive& CArchive::operator<<(DWORD value) { return Put(value); }
CArchive& CArchive::operator<<(LONGLONG value) { return Put(value); }
CArchive& CArchive::operator<<(ULONGLONG value) { return Put(value); }
CArchive& CArchive::operator<<(float value) { return Put(value); }
CArchive& CArchive::operator<<(double value) { return Put(value); }
CArchive& CArchive::operator<<(const std::string& text) {
    WriteString(text);
    return *this;
}
CArchive& CArchive::operator<<(LPCSTR text) {
    WriteString(text != nullptr ? text : "");
    return *this;
}

CArchive& CArchive::operator>>(BYTE& value) { return Get(value); }
CArchive& CArchive::operator>>(char& value) { return Get(value); }
CArchive& CArchive::operator>>(bool& value) {
    value = ReadLittleEndian<BYTE>() != 0;
    return *this;
}
CArchive& CArchive::operator>>(SHORT& value) { return Get(value); }
CArchive& CArchive::operator>>(WORD& value) { return Get(value); }
CArchive& CArchive::operator>>(LONG& value) { return Get(value); }
CArchive& CArchive::operator>>(DWORD& value) { return Get(value); }
CArchive& CArchive::operator>>(LONGLONG& value) { return Get(value); }
CArchive& CArchive::operator>>(ULONGLONG& value) { return Get(value); }
CArchive& CArchive::operator>>(float& value) { return Get(value); }
CArchive& CArchive::operator>>(double& value) { return Get(value); }
CArchive& CArchive::operator>>(std::string& text) {
    text = ReadString();
    return *this;
}

void CArchive::WriteString(std::string_view text) {
    SIZE_T length = text.size();
    if (length < 0xFF) {
        WriteLittleEndian(static_cast<BYTE>(length));
    } else if (length < 0xFFFE) {
        WriteLittleEndian(static_cast<BYTE>(0xFF));
        WriteLittleEndian(static_cast<WORD>(length));
    } else if (length <= 0xFFFFFFFEu) {
        WriteLittleEndian(static_cast<BYTE>(0xFF));
        WriteLittleEndian(static_cast<WORD>(0xFFFF));
        WriteLittleEndian(static_cast<DWORD>(length));
    } else {
        throw CArchiveException(CArchiveException::genericException);
    }
    while (!text.empty()) {
        auto piece = static_cast<UINT>(std::min<SIZE_T>(text.size(), kStringChunk));
        Write(text.data(), piece);
        text.remove_prefix(piece);
    }
}

DWORD CArchive::ReadStringLength(bool& wide) {
    wide = false;
    BYTE shortLength = ReadLittleEndian<BYTE>();
    if (shortLength < 0xFF) {
        return shortLength;
    }
    WORD wordLength = ReadLittleEndian<WORD>();
    if (wordLength == 0xFFFE) {
        wide = true;
        shortLength = ReadLittleEndian<BYTE>();
        if (shortLength < 0xFF) {
            return shortLength;
        }
        wordLength = ReadLittleEndian<WORD>();
        if (wordLength == 0xFFFE) {
            // A second marker is not a form any writer produces.
            throw CArchiveException(CArchiveException::genericException);
        }
    }
    if (wordLength < 0xFFFF) {
        return wordLength;
    }
    return ReadLittleEndian<DWORD>();
}

std::string CArchive::ReadString() {
    bool wide = false;
    ULONGLONG remaining = ReadStringLength(wide);
    if (wide) {
        remaining *= 2;
    }
    std::string bytes;
    while (remaining > 0) {
        auto piece = static_cast<UINT>(std::min<ULONGLONG>(remaining, kStringChunk));
        SIZE_T at = bytes.size();
        bytes.resize(at + piece);
        ReadExact(bytes.data() + at, piece);
        remaining -= piece;
    }
    if (!wide) {
        return bytes;
    }
    std::u16string characters(bytes.size() / 2, u'\0');
    for (SIZE_T i = 0; i < characters.size(); ++i) {
        characters[i] = static_cast<char16_t>(static_cast<BYTE>(bytes[2 * i]) |
                                              (static_cast<BYTE>(bytes[2 * i + 1]) << 8));
    }
    return ostrana::FromWide(characters, CP_ACP);
}

void CArchive::WriteCount(DWORD count) {
    if (count < 0xFFFF) {
        WriteLittleEndian(static_cast<WORD>(count));
    } else {
        WriteLittleEndian(static_cast<WORD>(0xFFFF));
        WriteLittleEndian(count);
    }
}

DWORD CArchive::ReadCount() {
    WORD shortCount = ReadLittleEndian<WORD>();
    return shortCount != 0xFFFF ? shortCount : ReadLittleEndian<DWORD>();
}
