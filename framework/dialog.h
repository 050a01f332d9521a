// Modal dialogs on a dialog template of the program's resources.
#pragma once

#include "window.h"

#include <windows.h>

#include <string>

namespace fw {

class Dialog : public Window {
public:
    Dialog(UINT templateId, Window* parent) noexcept;
    ~Dialog() override = default;

    // Runs the dialog modally; returns the code given to EndDialog, or -1 when the dialog
    // could not be created.
    INT_PTR DoModal() noexcept;

    void EndDialog(INT_PTR result) noexcept;

    HWND GetItem(int id) const noexcept { return ::GetDlgItem(m_hwnd, id); }
    std::string GetItemText(int id) const;
    void SetItemText(int id, const char* text) const noexcept { ::SetDlgItemTextA(m_hwnd, id, text); }

    // Rectangle of a control in the dialog's client coordinates.
    RECT GetItemRect(int id) const noexcept;

    // Centres the dialog over its owner (or over the screen when it has none).
    void CenterWindow() const noexcept;

protected:
    // Initialisation hook, after the controls exist. True lets the system give the focus
    // to the first control that takes it.
    virtual bool OnInitDialog();

    // Default OK and Cancel: end the dialog with IDOK and IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Unhandled dialog messages go back to the system's dialog manager.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT TemplateId() const noexcept { return m_templateId; }
    Window* Parent() const noexcept { return m_parent; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    Window* m_parent;
};

}  // namespace fw
