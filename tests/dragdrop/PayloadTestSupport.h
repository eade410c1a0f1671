// Storing and loading payload objects through memory archives, and byte-string helpers.
#pragma once

#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"

namespace ostrana::test {

inline std::string StoreObject(CObject& object) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    std::vector<BYTE> bytes = file.Bytes();
    return std::string(bytes.begin(), bytes.end());
}

inline void LoadObject(CObject& object, const std::string& bytes) {
    CMemFile file(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
}

inline std::string Dword(DWORD value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    return bytes;
}

// A string literal with embedded zeros, taken whole.
template <std::size_t N> std::string Raw(const char (&literal)[N]) { return std::string(literal, N - 1); }

} // namespace ostrana::test
