// The installer's message dialog: a caption, an icon, a text that the window grows or
// shrinks to fit, and one to three buttons whose captions the script may replace.
#pragma once

#include "../engine/message_layout.h"
#include "front_keeper.h"
#include "setup_dlg.h"

#include <string>

class CMessageDlg : public CSetupDlg {
public:
    static constexpr UINT kTemplateId = 141;

    // keepFront: the shell has been asked for program groups and may open their windows by
    // itself while the message is up; the message then keeps the front (FrontKeeper).
    CMessageDlg(fw::Window* parent, const setup::SetupScript& script, bool keepFront) noexcept;
    ~CMessageDlg() override;

    // The message to show; null strings are empty. Called once before the dialog runs.
    void SetMessage(const char* text, const char* title, const char* caption1, const char* caption2,
                    const char* caption3, int style);

protected:
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void PlaceAndLayout();
    void SetIcon();
    void SetUpButtons();

    LRESULT OnFirstButton(WPARAM wParam, LPARAM lParam);
    LRESULT OnSecondButton(WPARAM wParam, LPARAM lParam);
    LRESULT OnThirdButton(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnCheckFront(WPARAM wParam, LPARAM lParam);

    static const fw::MessageEntry<CMessageDlg> kMessageTable[6];

    std::string m_title;
    std::string m_text;
    std::string m_captions[3];
    int m_style = 0;
    bool m_keepFront = false;
    setup::ButtonPlan m_plan;
    FrontKeeper m_front;
};
