// The copy list of the setup script: which files and slides the installer copies, disk by
// disk and section by section, and the walk that copies them.
#pragma once

#include "../engine/setup_engine.h"

#include <cstdint>
#include <string>

namespace setup {

// The prefix of the entries that belong to selection item of selection dialog number
// dialog: "Dialog 2. SelItem 1. ".
std::string SelectionPrefix(int dialog, int item);

// The key of entry M of disk D in a copy list: prefix, kind ("File", "Bitmap"), " D.M".
std::string EntryKey(const std::string& prefix, const char* kind, int disk, int number);

// What the copy dialog does between files.
class CopyProgress {
public:
    virtual ~CopyProgress() = default;
    virtual void ShowCopyPaths(const std::string& name, const std::string& source, const std::string& destination) = 0;
    virtual void StepProgress() = 0;
    virtual void DrainMessages() = 0;
    virtual bool Cancelled() const = 0;
};

// A copy without a window: nothing is shown between files, and nothing cancels it.
class NoProgress : public CopyProgress {
public:
    void ShowCopyPaths(const std::string&, const std::string&, const std::string&) override {}
    void StepProgress() override {}
    void DrainMessages() override {}
    bool Cancelled() const override { return false; }
};

struct CopyParameters {
    std::string sourceDir;   // the disk's directory, with a backslash at its end
    std::string installDir;  // with a backslash at its end
    int diskCount = 0;
    int copyFromSubDir = 0;
};

// One entry of a copy list: a file, a slide (a file shown once copied), the removal of the
// slide shown, or a slide entry without a name.
struct CopyEntry {
    enum class Kind { kFile, kSlide, kRemoveSlide, kNoSlide };
    Kind kind = Kind::kFile;
    std::string name;
    int position = 4;  // a slide's place
    const std::string* source = nullptr;       // the folder it is copied from
    const std::string* destination = nullptr;  // the folder it is copied to
    int disk = 0;                              // whose list names it
};

// Copies every disk's lists in order: [Windows], [System], [DefDir], then the [SubDir N]
// sections; on each disk first the entries without a prefix, then those of the items the
// user selected. False when the installation is to end (Exit confirmed, Cancel, or a disk
// that is nowhere).
class CopyWalk {
public:
    CopyWalk(SetupEngine& engine, CopyProgress& progress, CopyParameters parameters);
    bool CopyAllDisks();
    // True when the folder holds, under its plain or compressed name, at least one of the
    // files that disk N's lists copy.
    bool DiskIn(int disk, const std::string& folder);

private:
    using Visit = bool (CopyWalk::*)(const CopyEntry&);
    // Every entry of disk N's lists, read from source; false as soon as visit says so.
    bool VisitDisk(int disk, const std::string& source, Visit visit);
    bool VisitSection(int disk, const std::string& source, const std::string& destination, const char* section,
                      Visit visit);
    bool VisitList(int disk, const std::string& prefix, const std::string& source, const std::string& destination,
                   const char* section, Visit visit);
    bool CopyOne(const CopyEntry& entry);
    // False (and m_found set) for a file that is there.
    bool LookFor(const CopyEntry& entry);

    SetupEngine& m_engine;
    CopyProgress& m_progress;
    CopyParameters m_parameters;
    int m_replaceAll = 0;
    bool m_found = false;
    std::string m_diskSource;  // the root of the disk being visited
};

}  // namespace setup
