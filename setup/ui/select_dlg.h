// A selection question: one [Dialog N] of the script with its text, its list of choices
// and an optional animated icon.
#pragma once

#include "../../framework/handles.h"
#include "../engine/choices.h"
#include "setup_dlg.h"

#include <string>

class CSelectDlg : public CSetupDlg {
public:
    static constexpr UINT kTemplateId = 148;

    // iconDir: where the animation's icon files are, with its backslash.
    CSelectDlg(fw::Window* parent, const setup::SetupScript& script, const setup::SelectQuestion& question,
               std::string iconDir) noexcept;
    ~CSelectDlg() override;

    // The position chosen in the list, once the dialog ended with OK.
    int Chosen() const { return m_position; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void LayoutText();
    void StartAnimation();
    void ShowAnimationIcon(int index);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

    static const fw::MessageEntry<CSelectDlg> kMessageTable[2];

    setup::SelectQuestion m_question;
    std::string m_iconDir;
    int m_position = 0;
    std::string m_iconPrefix;
    int m_iconCount = 0;
    int m_iconIndex = 0;
    fw::Icon m_hIcon;
};
