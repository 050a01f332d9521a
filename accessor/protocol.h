// The accessor's request protocol, without <windows.h>: the magics that select a command
// set, the query and control messages, the AccessorRequest layout and its parser, and the
// little-endian slots of an argument block.
//
// An AccessorRequest (byte-packed, little-endian):
//   +0                  u16 nameLength   length of the name field
//   +2                  name             NUL-terminated ANSI text; the NUL lies in the field
//   +2 + nameLength     u32 blockSize    size of the argument block
//   +6 + nameLength     argument block   32-bit slots at the positions each command gives
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace accessor {

// The accessor's window: found by class and title.
constexpr const char* kClassName = "Ostrel";
constexpr const char* kWindowTitle = "W32 APIs Accessor for W16";

// Command-set magics (COPYDATASTRUCT.dwData of a request).
constexpr std::uint32_t ACCESSOR_MAGIC_DIRECT = 0x73820478;
constexpr std::uint32_t ACCESSOR_MAGIC_ATTACHED = 0x73827788;
constexpr std::uint32_t ACCESSOR_MAGIC_FOCUS = 0x73825408;
// dwData of a WM_COPYDATA that carries a command line (NUL-terminated) rather than a
// request: the upper half like the other magics, the lower half the control message.
constexpr std::uint32_t ACCESSOR_MAGIC_CONTROL = 0x73820464;

constexpr unsigned kUserMessage = 0x0400;  // WM_USER
// Query messages: each returns the magic of one command set.
constexpr unsigned kQueryDirect = kUserMessage + 1;
constexpr unsigned kQueryAttached = kUserMessage + 2;
constexpr unsigned kQueryFocus = kUserMessage + 3;
// The control message: wParam 0, lParam a NUL-terminated command line in this process.
constexpr unsigned WM_ACCESSOR_CONTROL = kUserMessage + 100;

// The magic a query message returns, or 0 when the message is none of the three.
std::uint32_t QueryMagic(unsigned message);

// A request inside the data a WM_COPYDATA carried. Every pointer lies inside that data.
struct AccessorRequest {
    std::uint16_t nameLength = 0;
    const char* name = nullptr;      // NUL-terminated inside the name field, not empty
    std::uint32_t blockSize = 0;
    unsigned char* block = nullptr;  // blockSize bytes
    std::size_t size = 0;            // the whole request: nameLength + 6 + blockSize
};

// Finds the request in size bytes at data. False (the request is refused) when data is
// null, when the bytes are fewer than the request's own lengths call for, when the name
// field holds no NUL, or when the name is empty. Reads nothing beyond size bytes; bytes
// after the request are ignored.
bool ParseRequest(unsigned char* data, std::size_t size, AccessorRequest& request);

// The request bytes for a name (with its NUL; nameLength 0 lets the name's own length plus
// one decide, a larger one pads the field with NULs) and an argument block.
std::vector<unsigned char> BuildRequest(const std::string& name, const std::vector<unsigned char>& block,
                                        std::uint16_t nameLength = 0);

// The command line that a WM_COPYDATA of ACCESSOR_MAGIC_CONTROL carries, or null when the
// data holds no NUL within its size.
const char* ControlText(const unsigned char* data, std::size_t size);

// Whether a command line asks the accessor to close: "Destroy", the whole text, with
// letter case ignored (A-Z equal a-z and nothing else).
bool IsDestroyCommand(const char* text);

// 32-bit little-endian slots of an argument block.
std::uint32_t LoadSlot(const unsigned char* at);
void StoreSlot(unsigned char* at, std::uint32_t value);
// An argument block made of slots, in order.
std::vector<unsigned char> MakeBlock(std::initializer_list<std::uint32_t> slots);

}  // namespace accessor
