// The installer's application object: finds the setup script beside the program, refuses
// to run twice, and creates the main window (its start, InitInstance, is in start_up.cpp).
#pragma once

#include "../../framework/application.h"

#include <string>

class CSetupApp : public fw::Application {
public:
    // Fills the three paths from the program file's location and the script's
    // [Setup System] "ICON Directory".
    void LocateScript();

    // The title of the main window: [Setup System] "AP Name", or the default title.
    std::string ReadAppTitle() const;

    std::string m_programDir;
    std::string m_scriptPath;
    std::string m_iconDir;

protected:
    bool InitInstance() override;
};

// The running installer's application object, or null.
CSetupApp* GetSetupApp();
