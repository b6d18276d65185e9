# The product: a static, Unicode, 32-bit GUI program with its resources.
enable_language(RC)

add_library(lts_win32 STATIC
  autostart/account_win32.cpp
  autostart/exe_protection_win32.cpp
  autostart/logon_task_system_win32.cpp
  autostart/logon_task_win32.cpp
  autostart/permissions_to_judge_win32.cpp
  autostart/run_key_win32.cpp
  autostart/task_change_mark_win32.cpp
  autostart/task_folder_win32.cpp
  settings/exe_location_win32.cpp
  settings/file_replace_win32.cpp
  settings/disk_ini_file_win32.cpp
  settings/settings_files_win32.cpp
  sync/clock_right_win32.cpp
  sync/clock_set_win32.cpp
  sync/command_watch_win32.cpp
  sync/consent_win32.cpp
  sync/probe_win32.cpp
  sync/process_win32.cpp
  sync/sntp_win32.cpp
  ui/controls_win32.cpp
  ui/dpi_win32.cpp
  ui/picture_win32.cpp
  ui/system_win32.cpp
  ui/tooltip_win32.cpp
  ui/tray_win32.cpp
  ui/window_paint_win32.cpp
  ui/window_win32.cpp
  win32/shell_thread.cpp
  win32/system_exe.cpp
  win32/text_encoding.cpp
  win32/token.cpp
)
# Windows 7 is the oldest system the program starts on.
target_compile_definitions(lts_win32 PUBLIC UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601)
target_link_libraries(lts_win32 PUBLIC lts_core
  iphlpapi ws2_32 gdi32 user32 shell32 advapi32 ole32 oleaut32 uuid comctl32)

# The clock itself is set by the one file each program links in: this, the
# system's SetSystemTime; the end-to-end tests' build records it instead.
add_executable(LanTimeSync WIN32 ui/main_win32.cpp ui/resources/app.rc sync/utc_clock_win32.cpp)
target_link_libraries(LanTimeSync PRIVATE lts_win32)
# What only comes after the window is up: OLE for the picture and the logon
# task, the shell for the tray, the ICMP helper for the first echo and
# Winsock for SNTP. (The shell is loaded at once where the settings go to
# the user's profile folder.)
include(${CMAKE_CURRENT_LIST_DIR}/delay-load.cmake)
lts_delay_load(LanTimeSync ole32 CoInitializeEx CoTaskMemFree CoUninitialize CreateStreamOnHGlobal)
lts_delay_load(LanTimeSync oleaut32 OleLoadPicture)
lts_delay_load(LanTimeSync shell32 SHGetKnownFolderPath ShellExecuteExW Shell_NotifyIconW)
lts_delay_load(LanTimeSync iphlpapi IcmpCloseHandle IcmpCreateFile IcmpSendEcho)
lts_delay_load(LanTimeSync ws2_32 WSACleanup WSAGetLastError WSAStartup closesocket htons ntohs
               recvfrom select sendto socket)
# Unused library code is dropped (and with GCC symbols stripped), so that the
# one exe stays small although the C++ runtime is linked in. link.exe finds
# wWinMain by itself; GCC's driver needs -municode for it.
# Sections start on page boundaries in the file: Windows maps a program's
# sections from its file, shared by every copy that runs, but Wine does so
# only for sections on a page boundary; the others, at the linkers' usual
# 512-byte steps, it reads into each process's private memory, the whole exe.
if(MSVC)
  target_link_options(LanTimeSync PRIVATE /OPT:REF /OPT:ICF /FILEALIGN:4096)
else()
  target_link_options(LanTimeSync PRIVATE -municode -s -Wl,--gc-sections
                      -Wl,--file-alignment,4096)
endif()
set_source_files_properties(ui/resources/app.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/ui/resources/app.ico;${CMAKE_SOURCE_DIR}/ui/resources/help.jpg;${CMAKE_SOURCE_DIR}/ui/resources/app.manifest")
