// The person at the screen: each question goes to the dialog that asks it, through the
// engine's hooks.
#include "setup_engine.h"

namespace setup {

Answer ScreenAnswers::AskMessage(const MessageQuestion& question) {
    return Given(m_engine.ShowScriptMessage(question.title, question.text, question.captions[0], question.captions[1],
                                            question.captions[2], question.section, question.style),
                 Origin::kUser);
}

Answer ScreenAnswers::ChoosePort(const PortQuestion& question) {
    const std::optional<int> position = m_engine.ShowPortDialog(question);
    return position ? Given(*position, Origin::kUser) : Cancelled(Origin::kUser, "");
}

Answer ScreenAnswers::ChooseItem(int, const SelectQuestion& question) {
    const std::optional<int> position = m_engine.ShowSelectDialog(question);
    return position ? Given(*position, Origin::kUser) : Cancelled(Origin::kUser, "");
}

Answer ScreenAnswers::ChooseDirectory() {
    const std::optional<std::string> directory = m_engine.ShowSetDirDialog();
    if (!directory) return Cancelled(Origin::kUser, "");
    Answer answer = Given(result::kOk, Origin::kUser);
    answer.text = *directory;
    return answer;
}

Answer ScreenAnswers::AllowProgramStart(const std::string&) {
    // The person's installation starts the program, as it always has.
    return Given(result::kYes, Origin::kUser);
}

}  // namespace setup
