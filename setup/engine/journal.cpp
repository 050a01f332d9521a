#include "journal.h"

namespace setup {

namespace {

template <typename Call>
void Each(JournalWriter* const (&writers)[Journal::kMostWriters], const Call& call) {
    for (JournalWriter* writer : writers)
        if (writer) call(*writer);
}

}  // namespace

void Journal::RunStarted(const std::string& program, const std::string& version, const std::string& script,
                         const std::string& switches) {
    Each(m_writers, [&](JournalWriter& w) { w.RunStarted(program, version, script, switches); });
}

void Journal::Answered(const std::string& question, const std::string& answer, const Answer& how) {
    Each(m_writers, [&](JournalWriter& w) { w.Answered(question, answer, how); });
}

void Journal::DirectoryMade(const std::string& path, bool created, bool failed) {
    Each(m_writers, [&](JournalWriter& w) { w.DirectoryMade(path, created, failed); });
}

void Journal::FileInstalled(const InstalledFile& file) {
    Each(m_writers, [&](JournalWriter& w) { w.FileInstalled(file); });
}

void Journal::FileSkipped(const std::string& destination, FileSkip why) {
    Each(m_writers, [&](JournalWriter& w) { w.FileSkipped(destination, why); });
}

void Journal::IniEntryWritten(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& value, const std::optional<std::string>& replaced, IniNew created) {
    Each(m_writers, [&](JournalWriter& w) { w.IniEntryWritten(file, section, key, value, replaced, created); });
}

void Journal::StartupLineWritten(const std::string& key, const std::string& before, const std::string& after) {
    Each(m_writers, [&](JournalWriter& w) { w.StartupLineWritten(key, before, after); });
}

void Journal::RegistryKeyOpened(const std::string& key, bool created, bool failed, int newLevels) {
    Each(m_writers, [&](JournalWriter& w) { w.RegistryKeyOpened(key, created, failed, newLevels); });
}

void Journal::RegistryValueWritten(const std::string& key, const char* name, const char* data, bool written,
                                   const std::optional<std::string>& replaced) {
    Each(m_writers, [&](JournalWriter& w) { w.RegistryValueWritten(key, name, data, written, replaced); });
}

void Journal::ProgramGroupFound(const std::string& name) {
    Each(m_writers, [&](JournalWriter& w) { w.ProgramGroupFound(name); });
}

void Journal::Undone(const std::string& what, const std::string& outcome) {
    Each(m_writers, [&](JournalWriter& w) { w.Undone(what, outcome); });
}

void Journal::ProgramManagerConnected(bool connected) {
    Each(m_writers, [&](JournalWriter& w) { w.ProgramManagerConnected(connected); });
}

void Journal::ProgramManagerCommand(const std::string& command, ProgramManager::Outcome outcome) {
    Each(m_writers, [&](JournalWriter& w) { w.ProgramManagerCommand(command, outcome); });
}

void Journal::ProgramStarted(const std::string& commandLine, ProgramStart how) {
    Each(m_writers, [&](JournalWriter& w) { w.ProgramStarted(commandLine, how); });
}

void Journal::RestartRequested(bool reboot, Restart how) {
    Each(m_writers, [&](JournalWriter& w) { w.RestartRequested(reboot, how); });
}

void Journal::FileSavedAside(const std::string& path, const std::string& copy) {
    Each(m_writers, [&](JournalWriter& w) { w.FileSavedAside(path, copy); });
}

void Journal::InstallationCompleted() {
    Each(m_writers, [&](JournalWriter& w) { w.InstallationCompleted(); });
}

void Journal::RollbackStarted(const std::string& why) {
    Each(m_writers, [&](JournalWriter& w) { w.RollbackStarted(why); });
}

void Journal::RunEnded(RunEnd end, int exitCode) {
    Each(m_writers, [&](JournalWriter& w) { w.RunEnded(end, exitCode); });
}

namespace {

// CRC-32 eight bytes at a time ("slicing by 8"): entry [k][b] is the CRC of byte b followed
// by k zero bytes. Built by the compiler, so the program carries 8 KB of constants and
// computes nothing at start; the check of every installed file costs about 20 ms per 50 MB.
struct CrcTables {
    std::uint32_t entries[8][256] = {};
};

constexpr CrcTables MakeCrcTables() {
    CrcTables tables;
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        std::uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        tables.entries[0][byte] = crc;
    }
    for (int k = 1; k < 8; ++k)
        for (std::uint32_t byte = 0; byte < 256; ++byte) {
            const std::uint32_t before = tables.entries[k - 1][byte];
            tables.entries[k][byte] = (before >> 8) ^ tables.entries[0][before & 0xFF];
        }
    return tables;
}

constexpr CrcTables kCrcTables = MakeCrcTables();

}  // namespace

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc) {
    const auto& t = kCrcTables.entries;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (; size >= 8; size -= 8, bytes += 8) {
        crc ^= std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
               std::uint32_t{bytes[3]} << 24;
        crc = t[7][crc & 0xFF] ^ t[6][crc >> 8 & 0xFF] ^ t[5][crc >> 16 & 0xFF] ^ t[4][crc >> 24] ^
              t[3][bytes[4]] ^ t[2][bytes[5]] ^ t[1][bytes[6]] ^ t[0][bytes[7]];
    }
    for (; size > 0; --size, ++bytes) crc = (crc >> 8) ^ t[0][(crc ^ *bytes) & 0xFF];
    return ~crc;
}

}  // namespace setup
