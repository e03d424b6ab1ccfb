#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

// The reason the last failing call of the shell's layer gave, per thread, as the platform
// numbers it.
DWORD GetLastError();
void SetLastError(DWORD error);

inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_BAD_FORMAT = 11;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_NO_ASSOCIATION = 1155;

}  // namespace qv
