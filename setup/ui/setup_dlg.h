// The base of every installer dialog: a modal dialog on one of the program's templates,
// with the main frame as parent, reading the setup script through the frame.
#pragma once

#include "../../framework/dialog.h"
#include "../../framework/handles.h"
#include "../engine/message_layout.h"

#include <cstddef>
#include <string>

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

    // Rows the text needs in a control of the given width, measured in the dialogs' text
    // font (11-pixel MS Sans Serif) on that control's context.
    setup::TextRows MeasureTextRows(int controlId, const std::string& text, int width) const;
};

// An icon of the program's resources shown in a dialog's icon control, owned until the
// next one replaces it.
class ResourceIcon {
public:
    void Show(HWND dialog, int controlId, int resourceId);

private:
    fw::Icon m_icon;
};
