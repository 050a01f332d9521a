// The setup script: an INI-like text held in memory as an array of lines, and every
// lookup of sections, keys, strings and integers on it.
//
// Syntax, as the lookups read it:
// - Lines end with CR LF; a bare LF is accepted as well. A line keeps at most 255
//   characters. Blanks are spaces only.
// - A section header is a line whose first non-blank character is "["; its name runs from
//   the first non-blank after the "[" to the last "]" (blanks before that "]" dropped).
// - A section's body ends at the next line whose first non-blank character is "[".
// - A key line has a "=" after its first non-blank character; the value starts after the
//   first "=" of the line and its following blanks and runs to the end of the line.
// - ";" first on a line makes a comment. Names compare without regard to case. Only the
//   first section of a name, and in it the first key of a name, is ever found.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace setup {

class SetupScript {
public:
    // Longest line kept; longer lines are cut.
    static constexpr std::size_t kMaxLineLength = 255;
    // Buffer in which GetScriptInt reads a value: only its first 10 characters count.
    static constexpr std::size_t kIntBufferSize = 11;

    // Splits the bytes of a script file into lines and appends them. A CR before an LF is
    // removed; empty lines are dropped; whatever follows the last LF is kept as the final
    // line, even when empty. A NUL byte ends the text of its line.
    void AppendScriptText(const char* data, std::size_t size);

    void ClearScript();

    int LineCount() const { return m_lineCount; }

    // A copy of line index (0-based); empty outside the script.
    std::string GetScriptLine(int index) const;
    // The line of the file (from 1) that stored line index came from; 0 outside the script.
    int SourceLine(int index) const;

    // Finds the first header of the section; its line index goes to *headerLine.
    bool FindSection(const char* name, int* headerLine = nullptr) const;

    // Finds the key among the lines from firstLine up to the end of that section.
    bool FindKey(const char* key, int firstLine, int* keyLine = nullptr) const;

    // Copies the key's value (or else the default) into buffer, cut to size - 1
    // characters. Returns 0 when the buffer was left empty, else a positive count: the
    // value's length + 1, or size - 1 when it was cut; for a default as CopyDefault.
    int GetScriptString(const char* section, const char* key, const char* defaultValue,
                        char* buffer, std::size_t size) const;

    // The same lookup into a string, as read through a buffer of bufferSize bytes.
    std::string GetScriptValue(const char* section, const char* key, const char* defaultValue,
                               std::size_t bufferSize) const;

    // The key's value as an unsigned decimal number, or the default.
    int GetScriptInt(const char* section, const char* key, int defaultValue) const;

    // Reads an unsigned decimal number that a blank or the end ends; 1 and *value on
    // success, 0 for no text or any other character.
    static int ParseScriptInt(const char* text, int* value);

    // Copies the default cut to size - 1 characters; 0 when it is null or empty (the buffer
    // is then empty), else its length + 1, or size when it was cut.
    static int CopyDefault(const char* defaultValue, char* buffer, std::size_t size);

    // The name of the section a header line opens, if it opens one.
    static std::optional<std::string_view> HeaderName(std::string_view line);
    // True when the line ends a section body (first non-blank character "[").
    static bool StartsSection(std::string_view line);
    // The key of a key line, if the line is one (the caller has checked StartsSection).
    static std::optional<std::string_view> KeyName(std::string_view line);
    // The value of a key line: after the first "=" and its blanks; empty when absent.
    static std::string_view ValueOf(std::string_view line);

protected:
    std::vector<std::string> m_scriptLines;
    int m_lineCount = 0;

private:
    std::vector<int> m_sourceLines;  // the file line of each stored line

    // Where each section and each key of a section is, built once when the script is read,
    // so that a lookup does not scan the whole script: a script lists thousands of files.
    void BuildIndex();
    int IndexedKeyLine(int headerLine, std::string_view key) const;

    std::unordered_map<std::string, int> m_sectionLines;  // folded name: first header line
    std::unordered_map<std::string, int> m_keyLines;      // header line and folded key: first key line
};

}  // namespace setup
