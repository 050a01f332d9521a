#include "script.h"

#include "text.h"

#include <cstdint>
#include <cstring>

namespace setup {

namespace {

std::size_t SkipBlanks(std::string_view line, std::size_t from) {
    while (from < line.size() && IsBlank(line[from])) ++from;
    return from;
}

}  // namespace

void SetupScript::AppendScriptText(const char* data, std::size_t size) {
    std::string line;
    int fileLine = m_sourceLines.empty() ? 1 : m_sourceLines.back() + 1;
    auto store = [this](std::string text, int sourceLine) {
        // A NUL ends the line's text, as it would in a zero-terminated buffer.
        std::size_t nul = text.find('\0');
        if (nul != std::string::npos) text.resize(nul);
        if (text.size() > kMaxLineLength) text.resize(kMaxLineLength);
        m_scriptLines.push_back(std::move(text));
        m_sourceLines.push_back(sourceLine);
    };
    for (std::size_t i = 0; i < size; ++i) {
        char c = data[i];
        if (c != '\n') {
            line.push_back(c);
            continue;
        }
        // Only a CR is taken off before the LF, so that files with bare LF line ends
        // keep the last character of every line.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) store(std::move(line), fileLine);
        line.clear();
        ++fileLine;
    }
    store(std::move(line), fileLine);
    m_lineCount = static_cast<int>(m_scriptLines.size());
    BuildIndex();
}

int SetupScript::SourceLine(int index) const {
    if (index < 0 || index >= m_lineCount) return 0;
    return m_sourceLines[static_cast<std::size_t>(index)];
}

void SetupScript::ClearScript() {
    m_scriptLines.clear();
    m_sourceLines.clear();
    m_lineCount = 0;
    m_sectionLines.clear();
    m_keyLines.clear();
}

namespace {

std::string KeyIndexName(int headerLine, std::string_view key) {
    return std::to_string(headerLine) + '\n' + FoldName(key);
}

}  // namespace

void SetupScript::BuildIndex() {
    m_sectionLines.clear();
    m_keyLines.clear();
    int header = -1;  // the section the current line belongs to, if any
    for (int i = 0; i < m_lineCount; ++i) {
        std::string_view line = m_scriptLines[static_cast<std::size_t>(i)];
        if (StartsSection(line)) {
            std::optional<std::string_view> name = HeaderName(line);
            header = name ? i : -1;
            // Only the first section of a name is ever searched.
            if (name) m_sectionLines.emplace(FoldName(*name), i);
            continue;
        }
        std::optional<std::string_view> key = KeyName(line);
        if (key && header >= 0) m_keyLines.emplace(KeyIndexName(header, *key), i);
    }
}

int SetupScript::IndexedKeyLine(int headerLine, std::string_view key) const {
    auto found = m_keyLines.find(KeyIndexName(headerLine, key));
    return found == m_keyLines.end() ? -1 : found->second;
}

std::string SetupScript::GetScriptLine(int index) const {
    if (index < 0 || index >= m_lineCount) return std::string();
    return m_scriptLines[static_cast<std::size_t>(index)];
}

bool SetupScript::StartsSection(std::string_view line) {
    std::size_t first = SkipBlanks(line, 0);
    return first < line.size() && line[first] == '[';
}

std::optional<std::string_view> SetupScript::HeaderName(std::string_view line) {
    std::size_t pos = SkipBlanks(line, 0);
    if (pos >= line.size() || line[pos] != '[') return std::nullopt;
    std::size_t start = SkipBlanks(line, pos + 1);
    // The name needs a character and a "]" after it.
    if (line.size() - start <= 1) return std::nullopt;
    std::size_t close = line.size() - 1;
    while (close > start && line[close] != ']') --close;
    if (close == start) return std::nullopt;
    std::size_t end = close;
    while (end > start + 1 && IsBlank(line[end - 1])) --end;
    return line.substr(start, end - start);
}

std::optional<std::string_view> SetupScript::KeyName(std::string_view line) {
    std::size_t first = SkipBlanks(line, 0);
    if (first >= line.size() || line[first] == ';' || first == line.size() - 1) return std::nullopt;
    std::size_t equals = line.find('=', first + 1);
    if (equals == std::string_view::npos) return std::nullopt;
    std::size_t end = equals;
    while (end > first + 1 && IsBlank(line[end - 1])) --end;
    return line.substr(first, end - first);
}

std::string_view SetupScript::ValueOf(std::string_view line) {
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::string_view();
    return line.substr(SkipBlanks(line, equals + 1));
}

bool SetupScript::FindSection(const char* name, int* headerLine) const {
    if (!name || !*name) return false;
    auto found = m_sectionLines.find(FoldName(name));
    if (found == m_sectionLines.end()) return false;
    if (headerLine) *headerLine = found->second;
    return true;
}

bool SetupScript::FindKey(const char* key, int firstLine, int* keyLine) const {
    if (!key || !*key) return false;
    for (int i = firstLine < 0 ? 0 : firstLine; i < m_lineCount; ++i) {
        std::string_view line = m_scriptLines[static_cast<std::size_t>(i)];
        if (StartsSection(line)) return false;
        std::optional<std::string_view> name = KeyName(line);
        if (name && EqualNoCase(*name, key)) {
            if (keyLine) *keyLine = i;
            return true;
        }
    }
    return false;
}

int SetupScript::GetScriptString(const char* section, const char* key, const char* defaultValue,
                                 char* buffer, std::size_t size) const {
    if (!buffer) return 0;
    int header = 0;
    int keyLine = -1;
    if (section && *section && key && *key && FindSection(section, &header) &&
        (keyLine = IndexedKeyLine(header, key)) >= 0) {
        std::string_view value = ValueOf(m_scriptLines[static_cast<std::size_t>(keyLine)]);
        if (!value.empty()) {
            if (size == 0) return 0;
            std::size_t stored = CopyToBuffer(value, buffer, size);
            // A value that needs the whole buffer reports size - 1, like one that was cut.
            if (value.size() + 2 <= size) return static_cast<int>(stored + 1);
            return static_cast<int>(size - 1);
        }
    }
    return CopyDefault(defaultValue, buffer, size);
}

std::string SetupScript::GetScriptValue(const char* section, const char* key,
                                        const char* defaultValue, std::size_t bufferSize) const {
    std::string buffer(bufferSize, '\0');
    if (bufferSize == 0) return buffer;
    GetScriptString(section, key, defaultValue, &buffer[0], bufferSize);
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

int SetupScript::GetScriptInt(const char* section, const char* key, int defaultValue) const {
    char buffer[kIntBufferSize] = {};
    int value = 0;
    if (GetScriptString(section, key, nullptr, buffer, sizeof buffer) &&
        ParseScriptInt(buffer, &value))
        return value;
    return defaultValue;
}

int SetupScript::ParseScriptInt(const char* text, int* value) {
    if (!value || !text || !*text) return 0;
    while (IsBlank(*text)) ++text;
    // Ten digits may pass 2^31; the number then wraps as 32-bit arithmetic does.
    std::uint32_t number = 0;
    for (; *text && !IsBlank(*text); ++text) {
        if (*text < '0' || *text > '9') return 0;
        number = number * 10u + static_cast<std::uint32_t>(*text - '0');
    }
    *value = number <= INT32_MAX ? static_cast<int>(number)
                                 : static_cast<int>(static_cast<std::int64_t>(number) - (INT64_C(1) << 32));
    return 1;
}

int SetupScript::CopyDefault(const char* defaultValue, char* buffer, std::size_t size) {
    if (!buffer) return 0;
    if (!defaultValue || !*defaultValue) {
        CopyToBuffer(std::string_view(), buffer, size);
        return 0;
    }
    std::string_view text(defaultValue);
    std::size_t stored = CopyToBuffer(text, buffer, size);
    return static_cast<int>(stored < text.size() ? size : stored + 1);
}

}  // namespace setup
