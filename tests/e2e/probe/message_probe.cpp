// Shows one installer message and exits with the dialog's result, for the scenarios that
// check the message dialog itself:
//   MSGPROBE STYLE TITLE TEXT [CAPTION1 [CAPTION2 [CAPTION3]]]
// "\n" in TEXT is a line break; an empty argument is no caption. The script beside the
// program (MSGPROBE.INF, optional) may replace button captions through [Button Text].
#include "app/main_frame.h"
#include "app/setup_app.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::string Unescape(const char* text) {
    std::string result;
    for (const char* c = text; *c; ++c) {
        if (c[0] == '\\' && c[1] == 'n') {
            result += '\n';
            ++c;
        } else {
            result += *c;
        }
    }
    return result;
}

class ProbeApp : public CSetupApp {
public:
    int m_answer = -1;

protected:
    bool InitInstance() override {
        if (__argc < 4) return false;
        LocateScript();
        auto frame = std::make_unique<CMainFrame>();
        CMainFrame* shown = frame.get();
        SetMainWindow(std::move(frame));
        shown->LoadScript();  // no script: no [Button Text]
        const std::string text = Unescape(__argv[3]);
        auto caption = [](int index) -> const char* { return __argc > index && *__argv[index] ? __argv[index] : nullptr; };
        m_answer = shown->ShowScriptMessage(__argv[2], text.c_str(), caption(4), caption(5), caption(6),
                                            "Probe Message", static_cast<int>(std::strtol(__argv[1], nullptr, 0)));
        return false;
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ProbeApp app;
    app.Main(instance);
    return app.m_answer;
}
