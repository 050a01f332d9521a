// The base of every installer dialog: a modal dialog on one of the program's templates,
// with the main frame as parent, reading the setup script through the frame.
#pragma once

#include "../../framework/dialog.h"

#include <cstddef>

class CMainFrame;

class CSetupDlg : public fw::Dialog {
public:
    CSetupDlg(UINT templateId, CMainFrame* frame) noexcept;

    // The dialogs' script lookups, through the application's main frame (defaults when
    // there is none).
    static int GetFrameScriptString(const char* section, const char* key, const char* defaultValue,
                                    char* buffer, std::size_t size);
    static int GetFrameScriptInt(const char* section, const char* key, int defaultValue);

protected:
    // The main frame that holds the script, or null.
    static CMainFrame* Frame();

    // Puts the window in the middle of the full-screen work area (the screen less the
    // taskbar) without changing its size.
    void PlaceOnWorkArea() const;
};
