// Descriptors are written field by field at their offsets so the stored bytes do not depend on
// the host; they are read into the structure, whose layout matches them on this little-endian
// platform.
#include "dragdrop/CCF_FileGroupDescriptor.h"

#include <bit>
#include <cstring>

#include "platform/base/CodePage.h"

IMPLEMENT_SERIAL(CCF_FileGroupDescriptor, CObject, 0)

static_assert(std::endian::native == std::endian::little);

namespace {

constexpr std::size_t kDescriptorSize = sizeof(FILEDESCRIPTORA);
constexpr std::size_t kFlagsOffset = offsetof(FILEDESCRIPTORA, dwFlags);
constexpr std::size_t kSizeLowOffset = offsetof(FILEDESCRIPTORA, nFileSizeLow);
constexpr std::size_t kNameOffset = offsetof(FILEDESCRIPTORA, cFileName);
constexpr std::size_t kMaxBaseName = MAX_PATH - sizeof(".url");
// Shortcut files hold this many bytes around the name.
constexpr DWORD kShortcutOverhead = 24;

void PutDword(BYTE* at, DWORD value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<BYTE>(value >> (8 * i));
    }
}

// The longest prefix of `text` of at most `limit` bytes that ends on a whole character.
std::string FitCharacters(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::u16string wide = ostrana::ToWide(text, CP_ACP);
    std::string fitted;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        std::size_t units = (i + 1 < wide.size() && wide[i] >= 0xD800 && wide[i] < 0xDC00) ? 2 : 1;
        std::string next = ostrana::FromWide(std::u16string_view(wide).substr(i, units), CP_ACP);
        if (fitted.size() + next.size() > limit) {
            break;
        }
        fitted += next;
        i += units - 1;
    }
    return fitted;
}

} // namespace

std::string CCF_FileGroupDescriptor::ShortcutFileName() const {
    return FitCharacters(m_strBaseName, kMaxBaseName) + ".url";
}

const FILEDESCRIPTORA* CCF_FileGroupDescriptor::GetDescriptor(UINT index) const {
    return index < m_descriptors.size() ? &m_descriptors[index] : nullptr;
}

void CCF_FileGroupDescriptor::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        Store(ar);
    } else {
        Load(ar);
    }
}

void CCF_FileGroupDescriptor::Store(CArchive& ar) const {
    if (m_strBaseName.empty()) {
        ar << DWORD{0};
        return;
    }
    ar << DWORD{1};
    std::string name = ShortcutFileName();
    BYTE descriptor[kDescriptorSize] = {};
    PutDword(descriptor + kFlagsOffset, FD_FILESIZE | FD_LINKUI);
    PutDword(descriptor + kSizeLowOffset, static_cast<DWORD>(name.size()) + kShortcutOverhead);
    std::memcpy(descriptor + kNameOffset, name.data(), name.size());
    ar.Write(descriptor, sizeof descriptor);
}

void CCF_FileGroupDescriptor::Load(CArchive& ar) {
    DWORD count = 0;
    ar >> count;
    // Descriptors are added as they are read, so a forged count cannot reserve memory.
    std::vector<FILEDESCRIPTORA> descriptors;
    for (DWORD i = 0; i < count; ++i) {
        FILEDESCRIPTORA descriptor;
        if (ar.Read(&descriptor, sizeof descriptor) != sizeof descriptor) {
            throw CArchiveException(CArchiveException::endOfFile);
        }
        descriptor.cFileName[MAX_PATH - 1] = '\0';
        descriptors.push_back(descriptor);
    }
    m_descriptors = std::move(descriptors);
    m_nCount = count;
}
