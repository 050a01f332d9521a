// Installing one file: found under its plain or compressed name, confirmed before an
// existing file is replaced, handed to the version library, with Retry, Ignore and Exit
// on every failure.
#include "file_copy.h"

#include "../script/text.h"

namespace setup {

namespace {

// Paths are built in 256-byte buffers.
bool FitsPath(const std::string& path) { return path.size() < kPathBufferSize; }

}  // namespace

SourceFile CompressedName(const SourceFile& plain) {
    SourceFile compressed = plain;
    if (plain.path.find('.') == std::string::npos) {
        compressed.path += "._";
        compressed.name += "._";
    } else {
        if (!compressed.path.empty()) compressed.path.back() = '_';
        if (!compressed.name.empty()) compressed.name.back() = '_';
    }
    return compressed;
}

std::string DescribeFile(const std::string& path, const LocalTime& time) {
    int hour = time.hour;
    const char* half = "AM";
    if (hour == 12) {
        half = "PM";
    } else if (hour > 12) {
        hour -= 12;
        half = "PM";
    }
    return "\t" + path + "\n\t" + ZeroPadded(time.month, 2) + "/" + ZeroPadded(time.day, 2) + "/" +
           ZeroPadded(time.year, 4) + "\t" + ZeroPadded(hour, 2) + ":" + ZeroPadded(time.minute, 2) + half;
}

bool SetupEngine::NeedsReplaceConfirmation(const char* fileName) const {
    for (int number = 1;; ++number) {
        const std::string key = NumberedKey("File", number);
        const std::string listed = GetScriptValue("Replace File", key.c_str(), nullptr, 50);
        if (listed.empty()) return true;
        if (EqualNoCase(listed, fileName ? fileName : "")) return false;
    }
}

int SetupEngine::ConfirmFileReplace(const char* sourceName, const char* destName, const char* sourceDir,
                                    const char* destDir) {
    const std::string existing = std::string(destDir) + destName;
    const std::optional<LocalTime> existingTime = GetFileLocalTime(existing);
    if (!existingTime) return 0;
    const std::optional<LocalTime> newTime = GetFileLocalTime(std::string(sourceDir) + sourceName);
    if (!newTime) return 0;
    // The new file is shown under its plain name, even when the compressed one was read.
    const std::string text = "Would you like to replace the existing file\n\n " + DescribeFile(existing, *existingTime) +
                             "\n\nwith this one ?\n\n " + DescribeFile(std::string(sourceDir) + destName, *newTime);
    MessageQuestion question;
    question.ask = Ask::kReplace;
    question.title = "Confirm File Replace";
    question.text = text.c_str();
    question.captions[0] = "Yes";
    question.captions[1] = "No";
    question.captions[2] = "Replace All";
    question.section = "Replace Message";
    question.style = style::kYesNoCancel | style::kQuestionIcon;
    question.file = destName;
    return AskQuestion(question).value;
}

void SetupEngine::TellInstalled(const std::string& source, const std::string& destination, std::uint32_t result,
                                bool replaced, bool savedAside, std::optional<FileFacts> facts) {
    InstalledFile file{source, destination, result, replaced, std::nullopt, savedAside, m_copyDisk};
    if (result == 0) file.facts = facts ? facts : GetFileFacts(destination);
    m_journal.FileInstalled(file);
}

SetupEngine::Aside SetupEngine::SaveAside(const std::string& destination, const char* fileName) {
    const std::string record = UndoRecordPath();
    if (!KeepsRollback() || record.empty()) return Aside::kNone;
    const std::string folder = AsideFolderOf(record);
    for (;;) {
        // Numbered, so that two files of one name in different directories keep apart.
        std::string copy;
        for (std::size_t number = m_asideCopies.size() + 1; copy.empty() || FileExists(copy); ++number)
            copy = folder + "\\" + std::to_string(number) + "." + fileName;
        if (FitsPath(copy) && CopyFileAside(destination, copy)) {
            m_asideCopies.push_back(copy);
            m_journal.FileSavedAside(destination, copy);
            return Aside::kSaved;
        }
        // Kept aside or not installed: a file that cannot be copied (too little space) is a
        // copy error like any other.
        const int answer = AskCopyError(fileName);
        if (answer == result::kIgnore) {
            m_journal.FileSkipped(destination, FileSkip::kIgnored);
            return Aside::kIgnored;
        }
        if (answer == result::kAbort && ConfirmStop()) return Aside::kStopped;
    }
}

std::optional<FileChecksum> SetupEngine::ListedChecksum(const char* fileName) const {
    if (!m_copyDisk) return std::nullopt;
    const std::string key = ChecksumKey(m_copyDisk, m_copyFolder + fileName);
    const std::string value = GetScriptValue(kChecksumSection, key.c_str(), nullptr, kChecksumValueSize);
    // A line that cannot be read checks nothing: setupcheck names it.
    std::string why;
    return value.empty() ? std::nullopt : ParseChecksumValue(value, why);
}

std::uint32_t SetupEngine::InstallChecked(const std::string& sourcePath, const std::string& sourceName,
                                          const char* fileName, const char* sourceDir, const char* destDir,
                                          const std::optional<FileChecksum>& listed,
                                          std::optional<FileFacts>& facts) {
    const std::optional<std::uint32_t> stated = StatedLength(sourcePath);
    const std::string destination = std::string(destDir) + fileName;
    // The file there stays, renamed, until the new one is known to be whole.
    const bool checked = stated || listed;
    const bool there = checked && !m_newFiles.CannotBeThere(destDir, destination) && FileExists(destination);
    const std::string held = there ? HoldBack(destination, destDir) : std::string();
    std::uint32_t outcome = InstallFile(sourceName, fileName, sourceDir, destDir);
    if (outcome == 0 && checked) {
        facts = GetFileFacts(destination);
        if (!facts || (stated && facts->size != *stated))
            outcome = kCutShort;
        else if (listed && (facts->size != listed->size || facts->crc32 != listed->crc32))
            outcome = kDamaged;
        if (outcome != 0) {
            DeletePath(destination);
            facts.reset();
        }
    }
    if (outcome == 0) m_newFiles.Installed(destination);
    if (held.empty()) return outcome;
    if (outcome == 0) {
        DeletePath(held);
    } else {
        DeletePath(destination);
        MovePath(held, destination);
    }
    return outcome;
}

// A free name beside the file; empty when the file is held open or cannot be renamed: it is
// then installed over as before, and the version library deals with a file in use.
std::string SetupEngine::HoldBack(const std::string& destination, const char* destDir) {
    if (FileHeldOpen(destination)) return std::string();
    for (int number = 1; number < 100; ++number) {
        const std::string name = std::string(destDir) + "~SETUP" + std::to_string(number) + ".TMP";
        if (FitsPath(name) && !FileExists(name)) return MovePath(destination, name) ? name : std::string();
    }
    return std::string();
}

// The undo record's lines for the file could not be written (the disk is full): without
// them it could never be undone, so it is a copy error like any other. On Ignore they wait,
// and go with the next lines that can be written.
bool SetupEngine::RecordKept(const char* fileName) {
    while (RecordFailed()) {
        const int answer = AskCopyError(fileName);
        if (answer == result::kIgnore) return true;
        if (answer == result::kAbort && ConfirmStop()) return false;
        if (answer == result::kRetry) RetryRecord();
    }
    return true;
}

bool SetupEngine::InstallOneFile(int& replaceAll, const char* fileName, const char* sourceDir, const char* destDir) {
    if (!fileName || !*fileName || !sourceDir || !*sourceDir || !destDir || !*destDir) return false;
    SourceFile source{std::string(sourceDir) + fileName, fileName};
    const std::string destination = std::string(destDir) + fileName;

    if (FitsPath(source.path) && FitsPath(destination) && !FileExists(source.path)) {
        const SourceFile plain = source;
        source = CompressedName(plain);
        // After Retry either name will do: the disk put in may carry the file plain.
        while (FitsPath(source.path) && !FileExists(source.path)) {
            const int answer = AskFileNotFound(source.path.c_str());
            if (answer == result::kIgnore) {
                m_journal.FileSkipped(destination, FileSkip::kIgnored);
                return true;
            }
            if (answer == result::kAbort && ConfirmStop()) return false;
            if (FileExists(plain.path)) {
                source = plain;
                break;
            }
        }
    }

    if (FitsPath(source.path) && FitsPath(destination) && !replaceAll && FileExists(destination) &&
        NeedsReplaceConfirmation(fileName)) {
        const int answer = ConfirmFileReplace(source.name.c_str(), fileName, sourceDir, destDir);
        if (answer == result::kNo) {
            m_journal.FileSkipped(destination, FileSkip::kKept);
            return true;
        }
        if (answer == result::kCancel) replaceAll = 1;  // "Replace All"
    }

    const bool replaced = m_journal.Active() && FitsPath(destination) && FileExists(destination);
    const Aside aside = replaced ? SaveAside(destination, fileName) : Aside::kNone;
    if (aside == Aside::kIgnored) return true;
    if (aside == Aside::kStopped || !RecordKept(fileName)) return false;
    const std::optional<FileChecksum> listed = ListedChecksum(fileName);
    for (;;) {
        // A path that does not fit is a copy error like any other, never a cut path.
        const bool fits = FitsPath(source.path) && FitsPath(destination);
        std::optional<FileFacts> facts;  // read by the check, and told to the journal
        const std::uint32_t outcome =
            fits ? InstallChecked(source.path, source.name, fileName, sourceDir, destDir, listed, facts) : kPathTooLong;
        if (m_journal.Active()) TellInstalled(source.path, destination, outcome, replaced, aside == Aside::kSaved, facts);
        if (outcome == 0) return RecordKept(fileName);
        // With a checksum the disk vouches for, a file that is not what it lists is named
        // damaged, with its disk: the user fetches another copy of that disk.
        const bool damaged = listed && (outcome == kCutShort || outcome == kDamaged);
        const int answer = damaged ? AskDamagedFile(m_copyFolder + fileName, m_copyDisk) : AskCopyError(fileName);
        if (answer == result::kIgnore) {
            m_journal.FileSkipped(destination, FileSkip::kIgnored);
            return true;
        }
        if (answer == result::kAbort && ConfirmStop()) return false;
    }
}

}  // namespace setup
