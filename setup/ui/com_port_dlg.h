// The communication-port question: which serial port the product is to use.
#pragma once

#include "../engine/choices.h"
#include "setup_dlg.h"

class CComPortDlg : public CSetupDlg {
public:
    static constexpr UINT kTemplateId = 135;

    CComPortDlg(fw::Window* parent, const setup::SetupScript& script, const setup::PortQuestion& question) noexcept;
    ~CComPortDlg() override;

    // The position chosen in the list, once the dialog ended with OK.
    int Chosen() const { return m_position; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);

    static const fw::MessageEntry<CComPortDlg> kMessageTable[1];

    setup::PortQuestion m_question;
    int m_position = 0;
    unsigned m_iconPhase = 0;
    ResourceIcon m_icon;
};
