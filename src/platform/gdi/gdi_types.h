#pragma once

// Records, constants and handle types of the drawing layer, named as the pocket computer's
// graphics interface names them.

#include <cstdint>

namespace qv {

using COLORREF = std::uint32_t;  // 0x00BBGGRR
using BOOL = int;
using UINT = unsigned int;
using BYTE = std::uint8_t;
using LONG = std::int32_t;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return COLORREF{r} | (COLORREF{g} << 8) | (COLORREF{b} << 16);
}
constexpr BYTE GetRValue(COLORREF c) {
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

struct POINT {
    LONG x = 0;
    LONG y = 0;
    bool operator==(const POINT&) const = default;
};

struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
    bool operator==(const SIZE&) const = default;
};

// Right and bottom edges are outside the rectangle.
struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
    bool operator==(const RECT&) const = default;
};

inline constexpr int LF_FACESIZE = 32;

struct LOGFONTW {
    LONG lfHeight = 0;  // < 0: character height in pixels; > 0: cell height; 0: default
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;  // 0 or 400 normal, 700 bold
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char16_t lfFaceName[LF_FACESIZE] = {};
};

struct TEXTMETRICW {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
};

// Pens, brushes, background modes.
inline constexpr int PS_SOLID = 0;
// Wide strokes end at their points instead of with a round cap (added to PS_SOLID).
inline constexpr int PS_ENDCAP_FLAT = 0x200;
inline constexpr int PS_ENDCAP_MASK = 0xF00;
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Stock objects.
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int SYSTEM_FONT = 13;

// Font weights and qualities.
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;
inline constexpr BYTE DEFAULT_QUALITY = 0;
inline constexpr BYTE DRAFT_QUALITY = 1;
inline constexpr BYTE NONANTIALIASED_QUALITY = 3;
inline constexpr BYTE ANTIALIASED_QUALITY = 4;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr BYTE RUSSIAN_CHARSET = 204;

// DrawTextW formats.
inline constexpr UINT DT_LEFT = 0x0;
inline constexpr UINT DT_TOP = 0x0;
inline constexpr UINT DT_CENTER = 0x1;
inline constexpr UINT DT_RIGHT = 0x2;
inline constexpr UINT DT_VCENTER = 0x4;
inline constexpr UINT DT_BOTTOM = 0x8;
inline constexpr UINT DT_WORDBREAK = 0x10;
inline constexpr UINT DT_SINGLELINE = 0x20;
inline constexpr UINT DT_NOCLIP = 0x100;
inline constexpr UINT DT_CALCRECT = 0x400;
inline constexpr UINT DT_END_ELLIPSIS = 0x8000;

// Kinds of region, as the clipping operations return them.
inline constexpr int ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// Raster operations.
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;

// System metrics and colours.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;

// Icons and image lists.
inline constexpr UINT DI_NORMAL = 0x3;
inline constexpr UINT ILC_COLOR = 0x0;
inline constexpr UINT ILC_MASK = 0x1;
inline constexpr UINT ILC_COLORDDB = 0xFE;
inline constexpr UINT ILD_NORMAL = 0x0;

}  // namespace qv
