// The base of every installer dialog: a modal dialog on one of the program's templates,
// with the window that opens it as parent, reading the setup script it is handed. Each
// dialog's destructor is defined in its own source file: the frame, which runs the
// dialogs, calls it rather than carrying a copy of its own.
#pragma once

#include "../../framework/dialog.h"
#include "../../framework/handles.h"
#include "../engine/geometry.h"
#include "../engine/message_layout.h"
#include "../script/script.h"

#include <cstddef>
#include <string>

class CSetupDlg : public fw::Dialog {
public:
    // script: the frame's setup script, which the dialog reads its texts from; it outlives
    // the dialog.
    CSetupDlg(UINT templateId, fw::Window* parent, const setup::SetupScript& script) noexcept;

    // The dialogs' script lookups, in the script the frame handed in.
    int GetFrameScriptString(const char* section, const char* key, const char* defaultValue, char* buffer,
                             std::size_t size) const;
    int GetFrameScriptInt(const char* section, const char* key, int defaultValue) const;

    // The module whose template the dialog was made from, which holds its icons as well.
    static HINSTANCE ModuleOf(HWND dialog) {
        return reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    }

protected:
    const setup::SetupScript& Script() const { return m_script; }

    // A control's rectangle as the portable layout takes it, and a control moved to a
    // rectangle of the client area, given either way.
    static setup::Rect ToRect(const RECT& r) { return setup::Rect{r.left, r.top, r.right, r.bottom}; }
    static void MoveItem(HWND item, const RECT& r);
    static void MoveItem(HWND item, const setup::Rect& r);

    // Puts the window in the middle of the full-screen work area (the screen less the
    // taskbar) without changing its size.
    void PlaceOnWorkArea() const;

    // Rows the text needs in a control of the given width, measured in the dialogs' text
    // font (11-pixel MS Sans Serif) on that control's context.
    setup::TextRows MeasureTextRows(int controlId, const std::string& text, int width) const;

private:
    const setup::SetupScript& m_script;
};

// An icon of the program's resources shown in a dialog's icon control, owned until the
// next one replaces it.
class ResourceIcon {
public:
    void Show(HWND dialog, int controlId, int resourceId);

private:
    fw::Icon m_icon;
};
