// The main frame's hooks for the person at the screen: each question in its dialog, with
// the frame as parent and its script (and what else the dialog needs) handed in.
#include "main_frame.h"

#include "../actions/copy_dlg.h"
#include "../engine/messages.h"
#include "../ui/com_port_dlg.h"
#include "../ui/message_dlg.h"
#include "../ui/select_dlg.h"
#include "../ui/set_dir_dlg.h"
#include "setup_app.h"

// The script's override, the dialog, and the queue drained afterwards so that what the
// dialog uncovered is repainted at once.
int CMainFrame::ShowScriptMessage(const char* title, const char* text, const char* caption1, const char* caption2,
                                  const char* caption3, const char* section, int style) {
    const setup::ScriptMessage message = setup::ComposeScriptMessage(*this, section, title, text);
    INT_PTR answer = 0;
    {
        CMessageDlg dialog(this, *this, ShellAsked());
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

std::optional<int> CMainFrame::ShowPortDialog(const setup::PortQuestion& question) {
    // Each run starts afresh from the script, so a cancelled choice is not kept.
    CComPortDlg dialog(this, *this, question);
    if (dialog.DoModal() == IDCANCEL) return std::nullopt;
    return dialog.Chosen();
}

std::optional<int> CMainFrame::ShowSelectDialog(const setup::SelectQuestion& question) {
    CSetupApp* app = GetSetupApp();
    CSelectDlg dialog(this, *this, question, app ? app->m_iconDir : std::string());
    if (dialog.DoModal() == IDCANCEL) return std::nullopt;
    return dialog.Chosen();
}

std::optional<std::string> CMainFrame::ShowSetDirDialog() {
    CSetDirDlg dialog(this, *this);
    if (dialog.DoModal() == IDCANCEL) return std::nullopt;
    return dialog.Chosen();
}

bool CMainFrame::RunCopyDialog() {
    CSetupApp* app = GetSetupApp();
    const setup::CopyParameters parameters{app ? app->m_programDir : std::string(), m_installDir, m_diskCount,
                                           m_copyFromSubDir};
    if (m_run && m_run->Quiet()) {
        // No dialog: the same walk, with nothing shown between files.
        if (parameters.sourceDir.empty() || parameters.installDir.empty() || m_copyEntryCount == 0) return true;
        setup::NoProgress progress;
        setup::CopyWalk walk(*this, progress, parameters);
        return walk.CopyAllDisks();
    }
    CCopyDlg dialog(this, *this);
    dialog.SetCopyParameters(parameters, m_copyEntryCount);
    return dialog.DoModal() != IDCANCEL;
}
