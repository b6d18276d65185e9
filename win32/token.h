#pragma once

#include <windows.h>

#include <optional>

#include "win32/unique_handle.h"

// How UAC made a token: the one place the program reads it.
std::optional<TOKEN_ELEVATION_TYPE> ElevationTypeOf(HANDLE token);

// The other half of a token UAC split: the full one of a filtered token, or
// the filtered one of a full token, as an identification token.
UniqueKernelHandle LinkedTokenOf(HANDLE token);
