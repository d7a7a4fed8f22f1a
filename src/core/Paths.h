#pragma once

#include <QString>

// Paths are stored and concatenated in their Windows form ("C:\dati\",
// "Directory bin" ending with a backslash). Only when a file is actually
// opened does nativePath() turn one into a path of this machine.
namespace core {

// Backslashes become the native separator; a leading drive letter ("C:")
// maps through the table in ORBELAN_DRIVES ("C=/srv/c;D=/mnt/d"); a letter
// without an entry maps to the root directory. UNC names keep their double
// leading separator. On Windows the path is returned unchanged.
QString nativePath(const QString& stored);

// The stored (Windows) form of a native path: separators become backslashes.
QString storedPath(const QString& native);

// The directory part of a stored path, up to and including the last
// backslash, and the file name after it.
QString storedDirectory(const QString& stored);
QString storedFileName(const QString& stored);

// The directory of the host executable in stored form, with a trailing
// backslash: ORBELAN_HOST_DIR when set, else the application's directory.
QString hostDirectory();

// The folder that stands for "c:\windows\" (global settings file and the
// system profile): ORBELAN_WINDOWS_DIR when set, else
// ~/.config/orbelan/windows/. Stored form, trailing backslash.
QString windowsDirectory();

}  // namespace core
