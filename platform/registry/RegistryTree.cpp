#include "platform/registry/RegistryTree.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/base/CodePage.h"

namespace ostrana {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

std::string EscapeString(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    return out;
}

std::string HexBytes(std::string_view data) {
    std::string out;
    char byte[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(data[i]));
        if (i != 0) {
            out.push_back(',');
        }
        out += byte;
    }
    return out;
}

// A REG_SZ is written as a quoted string when it survives the trip to UTF-8 and back unchanged.
bool WritableAsString(const std::string& ansi, std::string& utf8) {
    for (char c : ansi) {
        if (static_cast<unsigned char>(c) < 0x20) {
            return false;
        }
    }
    utf8 = AnsiToUtf8(ansi);
    return Utf8ToAnsi(utf8) == ansi;
}

std::string ValueLine(const RegistryValue& value) {
    std::string line = value.name.empty() ? "@" : "\"" + EscapeString(value.name) + "\"";
    line += '=';
    std::string utf8;
    if (value.type == REG_SZ && WritableAsString(value.data, utf8)) {
        line += "\"" + EscapeString(utf8) + "\"";
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        DWORD number;
        std::memcpy(&number, value.data.data(), 4);
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", number);
        line += text;
    } else if (value.type == REG_BINARY) {
        line += "hex:" + HexBytes(value.data);
    } else {
        char prefix[24];
        std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
        line += prefix + HexBytes(value.data);
    }
    return line;
}

void SerializeKey(const RegistryKey& key, const std::string& path, std::string& out) {
    out += "[" + path + "]\n";
    for (const auto& [folded, value] : key.Values()) {
        out += ValueLine(value) + "\n";
    }
    out += "\n";
    for (const auto& [folded, child] : key.Children()) {
        SerializeKey(*child, path + "\\" + child->Name(), out);
    }
}

// Reads a quoted, escaped string at `text[pos]`; returns false when it is not closed.
bool ReadQuoted(std::string_view text, std::size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"') {
        return false;
    }
    ++pos;
    out.clear();
    while (pos < text.size()) {
        char c = text[pos++];
        if (c == '\\' && pos < text.size()) {
            out.push_back(text[pos++]);
        } else if (c == '"') {
            return true;
        } else {
            out.push_back(c);
        }
    }
    return false;
}

bool ParseHex(std::string_view text, std::string& out) {
    out.clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ',' || text[pos] == ' ' || text[pos] == '\\')) {
            ++pos;
        }
        if (pos >= text.size()) {
            break;
        }
        if (pos + 1 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[pos])) ||
            !std::isxdigit(static_cast<unsigned char>(text[pos + 1]))) {
            return false;
        }
        out.push_back(static_cast<char>(std::stoi(std::string(text.substr(pos, 2)), nullptr, 16)));
        pos += 2;
    }
    return true;
}

bool ParseValueData(std::string_view data, RegistryValue& value) {
    std::string text;
    if (!data.empty() && data[0] == '"') {
        std::size_t pos = 0;
        if (!ReadQuoted(data, pos, text)) {
            return false;
        }
        value.type = REG_SZ;
        value.data = Utf8ToAnsi(text);
        return true;
    }
    if (data.substr(0, 6) == "dword:") {
        std::string digits(data.substr(6));
        if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            return false;
        }
        DWORD number = static_cast<DWORD>(std::stoul(digits, nullptr, 16));
        value.type = REG_DWORD;
        value.data.assign(reinterpret_cast<const char*>(&number), 4);
        return true;
    }
    if (data.substr(0, 4) == "hex:") {
        value.type = REG_BINARY;
        return ParseHex(data.substr(4), value.data);
    }
    if (data.substr(0, 4) == "hex(") {
        std::size_t close = data.find("):");
        if (close == std::string_view::npos) {
            return false;
        }
        std::string type(data.substr(4, close - 4));
        if (type.empty() || type.size() > 8 || type.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            return false;
        }
        value.type = static_cast<DWORD>(std::stoul(type, nullptr, 16));
        return ParseHex(data.substr(close + 2), value.data);
    }
    return false;
}

bool IsHexValueLine(std::string_view line) {
    std::size_t pos = 0;
    std::string name;
    if (!line.empty() && line[0] == '@') {
        pos = 1;
    } else if (!ReadQuoted(line, pos, name)) {
        return false;
    }
    return line.substr(pos, 4) == "=hex";
}

// Joins hex data continued with a trailing backslash into one logical line.
std::vector<std::string> LogicalLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        start = end + 1;
        current += line;
        if (!current.empty() && current.back() == '\\' && IsHexValueLine(current)) {
            current.pop_back();
            continue;
        }
        lines.push_back(std::move(current));
        current.clear();
    }
    if (!current.empty()) {
        lines.push_back(std::move(current));
    }
    return lines;
}

} // namespace

std::vector<std::string> SplitKeyPath(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            parts.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

std::string FoldRegistryName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

RegistryKey* RegistryKey::Child(std::string_view name) const {
    auto it = m_children.find(FoldRegistryName(name));
    return it == m_children.end() ? nullptr : it->second.get();
}

RegistryKey& RegistryKey::CreateChild(std::string_view name) {
    auto& slot = m_children[FoldRegistryName(name)];
    if (!slot) {
        slot = std::make_unique<RegistryKey>(std::string(name));
    }
    return *slot;
}

bool RegistryKey::RemoveChild(std::string_view name) { return m_children.erase(FoldRegistryName(name)) > 0; }

const RegistryValue* RegistryKey::Value(std::string_view name) const {
    auto it = m_values.find(FoldRegistryName(name));
    return it == m_values.end() ? nullptr : &it->second;
}

void RegistryKey::SetValue(RegistryValue value) {
    std::string folded = FoldRegistryName(value.name);
    auto it = m_values.find(folded);
    if (it != m_values.end()) {
        value.name = it->second.name; // the first spelling stays, as on Windows
        it->second = std::move(value);
    } else {
        m_values.emplace(std::move(folded), std::move(value));
    }
}

bool RegistryKey::RemoveValue(std::string_view name) { return m_values.erase(FoldRegistryName(name)) > 0; }

RegistryKey* RegistryTree::Find(const std::vector<std::string>& path) const {
    const RegistryKey* key = &m_root;
    for (const std::string& part : path) {
        key = key->Child(part);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return const_cast<RegistryKey*>(key);
}

RegistryKey& RegistryTree::Create(const std::vector<std::string>& path) {
    RegistryKey* key = &m_root;
    for (const std::string& part : path) {
        key = &key->CreateChild(part);
    }
    return *key;
}

bool RegistryTree::Remove(const std::vector<std::string>& path) {
    if (path.empty()) {
        return false;
    }
    std::vector<std::string> parent(path.begin(), path.end() - 1);
    RegistryKey* key = Find(parent);
    return key != nullptr && key->RemoveChild(path.back());
}

std::string RegistryTree::Serialize() const {
    std::string out(kHeader);
    out += "\n\n";
    for (const auto& [folded, root] : m_root.Children()) {
        for (const auto& [childFolded, child] : root->Children()) {
            SerializeKey(*child, root->Name() + "\\" + child->Name(), out);
        }
    }
    return out;
}

RegistryTree RegistryTree::Parse(std::string_view text) {
    RegistryTree tree;
    RegistryKey* current = nullptr;
    for (const std::string& line : LogicalLines(text)) {
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            std::size_t close = line.rfind(']');
            std::string_view path = std::string_view(line).substr(1, close == std::string::npos ? 0 : close - 1);
            std::vector<std::string> parts = SplitKeyPath(path);
            current = parts.size() >= 2 && path[0] != '-' ? &tree.Create(parts) : nullptr;
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        RegistryValue value;
        std::size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (!ReadQuoted(line, pos, value.name)) {
            continue;
        }
        if (pos >= line.size() || line[pos] != '=') {
            continue;
        }
        if (ParseValueData(std::string_view(line).substr(pos + 1), value)) {
            current->SetValue(std::move(value));
        }
    }
    return tree;
}

} // namespace ostrana
