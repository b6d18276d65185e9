#pragma once

#define IDI_APP 1
#define IDR_HELP_PICTURE 101
