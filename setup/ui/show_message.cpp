// The main frame's message entry point: the script's override, the dialog, and the queue
// drained afterwards so that what the dialog uncovered is repainted at once.
#include "../core/main_frame.h"
#include "../engine/messages.h"
#include "message_dlg.h"

int CMainFrame::ShowScriptMessage(const char* title, const char* text, const char* caption1, const char* caption2,
                                  const char* caption3, const char* section, int style) {
    const setup::ScriptMessage message = setup::ComposeScriptMessage(*this, section, title, text);
    INT_PTR answer = 0;
    {
        CMessageDlg dialog(this);
        dialog.SetMessage(message.text.c_str(), message.title.c_str(), caption1, caption2, caption3, style);
        answer = dialog.DoModal();
    }
    MSG pending;
    while (::PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE)) {
        if (pending.message == WM_QUIT) {
            // Not ours to take: leave it for the message loop.
            ::PostQuitMessage(static_cast<int>(pending.wParam));
            break;
        }
        ::TranslateMessage(&pending);
        ::DispatchMessageA(&pending);
    }
    return static_cast<int>(answer);
}
