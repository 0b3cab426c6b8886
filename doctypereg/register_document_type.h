#pragma once
#include <windows.h>

// Registers the ".qzv" document type under HKEY_CLASSES_ROOT with command as its Open and
// New-file command. Returns 0 when ".qzv" cannot be created or opened, otherwise 1.
int RegisterDocumentType(LPCSTR command);
