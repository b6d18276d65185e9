#pragma once
// Toolkit for end-to-end tests that drive the real LanTimeSync.exe from
// outside, as a user would: start it, find its windows, read and operate its
// controls, look at its pixels, its tray icon, its registry entries and files.
// Everything here polls with time-outs (wait.h) rather than sleeping.

#include "accessible.h"
#include "fake_net_log.h"
#include "files.h"
#include "image.h"
#include "input.h"
#include "process.h"
#include "registry.h"
#include "screen.h"
#include "text.h"
#include "token.h"
#include "tooltip.h"
#include "tray.h"
#include "wait.h"
#include "win32/unique_handle.h"
#include "window_query.h"
#include "work_dir.h"
