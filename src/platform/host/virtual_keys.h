#pragma once

namespace qv {

// Virtual-key codes of the device keyboard. Letters and digits are their upper-case ASCII codes.
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;  // Alt
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21;
inline constexpr int VK_NEXT = 0x22;
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_F1 = 0x70;
inline constexpr int VK_F10 = 0x79;
// The punctuation keys, named for the US keyboard's characters on them.
inline constexpr int VK_OEM_1 = 0xBA;       // ; :
inline constexpr int VK_OEM_PLUS = 0xBB;    // = +
inline constexpr int VK_OEM_COMMA = 0xBC;   // , <
inline constexpr int VK_OEM_MINUS = 0xBD;   // - _
inline constexpr int VK_OEM_PERIOD = 0xBE;  // . >
inline constexpr int VK_OEM_2 = 0xBF;       // / ?
inline constexpr int VK_OEM_3 = 0xC0;       // ` ~
inline constexpr int VK_OEM_4 = 0xDB;       // [ {
inline constexpr int VK_OEM_5 = 0xDC;       // \ |
inline constexpr int VK_OEM_6 = 0xDD;       // ] }
inline constexpr int VK_OEM_7 = 0xDE;       // ' "

}  // namespace qv
