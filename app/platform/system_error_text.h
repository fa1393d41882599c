#pragma once
// A failed system call's code as messages name it. It touches no file, so
// every face's texts can use it, the browser edition's too.

#include <string>

namespace orv {

// IoError::code of a path that names a folder, a device or a pipe: such
// files are never opened for reading or writing, so nothing blocks on them.
constexpr int kNotRegularFile = -1;

// "Systemfehler 28: No space left on device" / "system error 28: No space
// left on device"; for kNotRegularFile "keine gewöhnliche Datei (ein Ordner,
// ein Gerät oder eine Pipe)" / "not a regular file (a folder, a device or a
// pipe)".
std::string SystemErrorGerman(int code);
std::string SystemErrorEnglish(int code);

} // namespace orv
