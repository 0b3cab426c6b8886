#include "register_document_type.h"

int RegisterDocumentType(LPCSTR command)
{
    char keyClass[] = "Nothing";
    HKEY first = NULL;
    HKEY second = NULL;
    DWORD disposition = 0;
    LONG created = ERROR_SUCCESS;

    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, ".qzv", 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                        &first, &disposition) != ERROR_SUCCESS) {
        return 0;
    }
    RegSetValueExA(first, NULL, 0, REG_SZ, (const BYTE*)"qzvfile", lstrlenA("qzvfile") + 1);
    if (RegCreateKeyExA(first, "ShellNew", 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &second,
                        &disposition) == ERROR_SUCCESS) {
        RegSetValueExA(second, "Command", 0, REG_SZ, (const BYTE*)command, lstrlenA(command) + 1);
        RegCloseKey(second);
    }
    RegCloseKey(first);

    // From here on a key that cannot be created ends the run: everything left lies beneath it,
    // except the close of its parent, which comes first.
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, "qzvfile", 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                        &first, &disposition) != ERROR_SUCCESS) {
        return 1;
    }
    RegSetValueExA(first, NULL, 0, REG_SZ, (const BYTE*)"Brannic Document", lstrlenA("Brannic Document") + 1);
    created = RegCreateKeyExA(first, "Shell", 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &second,
                              &disposition);
    RegCloseKey(first);
    if (created != ERROR_SUCCESS) {
        return 1;
    }
    created = RegCreateKeyExA(second, "Open", 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &first,
                              &disposition);
    RegCloseKey(second);
    if (created != ERROR_SUCCESS) {
        return 1;
    }
    created = RegCreateKeyExA(first, "Command", 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &second,
                              &disposition);
    RegCloseKey(first);
    if (created != ERROR_SUCCESS) {
        return 1;
    }
    RegSetValueExA(second, NULL, 0, REG_SZ, (const BYTE*)command, lstrlenA(command) + 1);
    RegCloseKey(second);
    return 1;
}
