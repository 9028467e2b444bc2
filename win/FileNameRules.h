// Which names may stand for a file on disk: the lexical part of the check the
// control makes before it hands a name to a driver or reads it. A name that
// passes still has to be opened and found to be a disk file.
#pragma once
#include <string_view>

// False for an empty name, a name with an embedded zero, a path in the
// device namespace ("\\.\", "\\?\" other than a drive or UNC path), and a
// name whose last part is a reserved device name (CON, PRN, AUX, NUL,
// COM0-9, LPT0-9, CONIN$, CONOUT$), which the system treats as the device in
// any folder and with any extension.
bool MayNameDiskFile(std::wstring_view name);
