#pragma once
// Every test gets a directory of its own that starts empty, so that files a
// product run leaves behind (its INI file, logs) never leak into the next test.

#include <string>

namespace e2e {

// Folder of the running test exe; the build puts LanTimeSync.exe and the
// fake net.exe beside it.
std::wstring BinDir();
// BinDir() + "\" + fileName.
std::wstring BinFile(const std::wstring& fileName);

// "Suite.Test" of the running GoogleTest test ('/' of parameterised tests
// becomes '_', as it may not appear in a folder name).
std::wstring CurrentTestName();

// Deletes C:\e2e\<name>\ with everything in it and creates it again; returns
// the path without a trailing backslash, or "" when that failed (typically a
// process of an earlier test still holding a file open there).
std::wstring FreshWorkDir(const std::wstring& name);
// FreshWorkDir(CurrentTestName()).
std::wstring FreshWorkDirForCurrentTest();

// Copies source into dir under newName (default: the source's file name) and
// returns the new path, or "" on failure.
std::wstring CopyInto(const std::wstring& source, const std::wstring& dir,
                      const std::wstring& newName = L"");

}  // namespace e2e
