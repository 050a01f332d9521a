// The copy list of the setup script: which files and slides the installer copies, disk by
// disk and section by section, and the walk that copies them.
#pragma once

#include "../core/setup_engine.h"

#include <cstdint>
#include <string>

namespace setup {

// The prefix of the entries that belong to selection item of selection dialog number
// dialog: "Dialog 2. SelItem 1. ".
std::string SelectionPrefix(int dialog, int item);

// What the copy dialog does between files.
class CopyProgress {
public:
    virtual ~CopyProgress() = default;
    virtual void ShowCopyPaths(const std::string& name, const std::string& source, const std::string& destination) = 0;
    virtual void StepProgress() = 0;
    virtual void DrainMessages() = 0;
    virtual bool Cancelled() const = 0;
};

struct CopyParameters {
    std::string sourceDir;   // the disk's directory, with a backslash at its end
    std::string installDir;  // with a backslash at its end
    int diskCount = 0;
    int copyFromSubDir = 0;
};

// Copies every disk's lists in order: [Windows], [System], [DefDir], then the [SubDir N]
// sections; on each disk first the entries without a prefix, then those of the items the
// user selected. False when the installation is to end (Exit confirmed, or Cancel).
class CopyWalk {
public:
    CopyWalk(SetupEngine& engine, CopyProgress& progress, CopyParameters parameters);
    bool CopyAllDisks();

private:
    bool CopySection(int disk, const std::string& source, const std::string& destination, const char* section);
    bool CopyEntryList(int disk, const std::string& prefix, const std::string& source,
                       const std::string& destination, const char* section);

    SetupEngine& m_engine;
    CopyProgress& m_progress;
    CopyParameters m_parameters;
    int m_replaceAll = 0;
};

}  // namespace setup
