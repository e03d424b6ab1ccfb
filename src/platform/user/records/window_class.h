#pragma once

#include <string>

#include "platform/user/records/user_types.h"

namespace qv {

// A registered window class: what RegisterClassW was given, with its own copy of the name.
struct WindowClass {
    ATOM atom = 0;
    std::u16string name;
    WNDCLASSW attributes;  // lpszClassName points into `name`; lpszMenuName is not kept
};

}  // namespace qv
