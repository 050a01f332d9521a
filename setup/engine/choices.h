// What the two choice dialogs show and record: a [Dialog N] selection question and the
// [ComPort] question, read from the setup script.
#pragma once

#include "../script/script.h"
#include "geometry.h"
#include "message_layout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setup {

// Value texts are kept in 100-byte buffers.
constexpr std::size_t kSelectionValueSize = 100;

struct SelectQuestion {
    std::string section;              // "Dialog N"
    std::string title;
    std::string info;                 // the "Info Line" keys joined by line breaks
    std::vector<std::string> items;   // the "Select Item" keys, in order
    int firstPosition = 0;            // entry selected at first, from 0
    std::uint16_t baseValue = 0;
    bool writeInteger = false;
    std::string animationIcon;        // name stem of the icon files; empty: none
};

// [Dialog N], or nothing when it lacks its title, first info line or first item (which
// ends the series of selection questions).
std::optional<SelectQuestion> LoadSelectQuestion(const SetupScript& script, int number);

// The value recorded for the entry at position (from 0): the number base + position, or
// the entry's text, as a value buffer holds it.
std::string SelectionValue(const SelectQuestion& question, int position);

// How far a selection dialog grows for its text: 0 when the rows fit the text control,
// else what the rows need below its bottom edge.
int TextGrowth(const Rect& text, const TextRows& rows);

// The animation's k-th icon file: prefix + "k.ICO"; empty when it would not fit a path.
std::string AnimationIconFile(const std::string& prefix, int k);

struct PortQuestion {
    std::uint16_t baseValue = 1;
    std::uint16_t maxComPort = 4;
    std::uint16_t defComPort = 2;
    std::string title;  // empty: the template's caption
    std::string info;   // empty: the template's text
};

// [ComPort], or nothing when it names no file and entry to write the port to.
std::optional<PortQuestion> LoadPortQuestion(const SetupScript& script);

// "COM1", "COM2", ... in port order, so that list position P is port base + P.
std::vector<std::string> PortNames(const PortQuestion& question);

// The entry selected at first: DefComPort - BaseValue, or the first entry when that lies
// outside the list.
int PortPreselection(const PortQuestion& question);

// The title the port question shows: the script's, else the dialog's own.
std::string PortTitle(const PortQuestion& question);

}  // namespace setup
