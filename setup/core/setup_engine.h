// The installer's state and the operations that need no window: the portable part of the
// main frame. The frame window derives from it and adds what needs the system.
#pragma once

#include "script.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace setup {

// Buffer size of paths and script values.
constexpr std::size_t kPathBufferSize = 256;

class SetupEngine : public SetupScript {
public:
    SetupEngine();
    virtual ~SetupEngine();
    SetupEngine(const SetupEngine&) = delete;
    SetupEngine& operator=(const SetupEngine&) = delete;

    // The whole installation, run once from the main window's first timer tick.
    virtual void RunSetup();

    // Reads the [Initiation] flags and the install name; 0 when the script names no
    // product at all (the flags are set all the same).
    int ReadInitiation();

    // Setters through which the dialogs hand back their results.
    void SetInstallDir(const char* directory);
    void SetComPort(std::int16_t value);
    void AddSelection(std::uint16_t item, const char* value);

    int GetSelectionCount() const;
    std::uint16_t GetSelectionItem(int index) const;

protected:
    std::string m_installDir;  // ends with a backslash; "C:\" until the user chooses
    int m_setDefDir = 1;
    int m_restartWindows = 0;
    int m_rebootSystem = 0;
    std::uint16_t m_diskCount = 0;
    std::uint16_t m_copyEntryCount = 0;
    std::string m_installName;
    int m_comPortChosen = 0;
    int m_copyFromSubDir = 0;
    std::int16_t m_comPort = 0;
    std::vector<std::string> m_selectionValues;
    std::vector<std::uint16_t> m_selectionItems;
};

}  // namespace setup
