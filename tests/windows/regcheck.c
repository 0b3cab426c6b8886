/* Prints registry keys, their classes, values and subkeys, through the Windows registry calls,
   in the REGEDIT4 form that the stand-in's registry file uses (CR LF, classes as ";class="
   lines), so that a tree written under Wine compares byte for byte with one written on Linux.
   Usage: regcheck HKCR|HKLM SUBKEY...   Exit code 0, or 2 when a key cannot be opened. */
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>

static void PrintQuoted(const char* text, DWORD length)
{
    DWORD i;
    putchar('"');
    for (i = 0; i < length; i++) {
        if (text[i] == '\\' || text[i] == '"') {
            putchar('\\');
        }
        putchar(text[i]);
    }
    putchar('"');
}

/* A string that the file keeps as "text": one NUL at its end and no other NUL or line break. */
static int IsPlainString(DWORD type, const BYTE* data, DWORD size)
{
    DWORD i;
    if (type != REG_SZ || size == 0 || data[size - 1] != 0) {
        return 0;
    }
    for (i = 0; i + 1 < size; i++) {
        if (data[i] == 0 || data[i] == '\r' || data[i] == '\n') {
            return 0;
        }
    }
    return 1;
}

static void PrintValue(const char* name, DWORD nameLength, DWORD type, const BYTE* data, DWORD size)
{
    DWORD i;
    if (nameLength == 0) {
        putchar('@');
    } else {
        PrintQuoted(name, nameLength);
    }
    putchar('=');
    if (IsPlainString(type, data, size)) {
        PrintQuoted((const char*)data, size - 1);
    } else if (type == REG_DWORD && size == 4) {
        printf("dword:%08lx", (unsigned long)(data[0] | data[1] << 8 | data[2] << 16 | (DWORD)data[3] << 24));
    } else {
        if (type == REG_BINARY) {
            printf("hex:");
        } else {
            printf("hex(%lx):", (unsigned long)type);
        }
        for (i = 0; i < size; i++) {
            printf(i ? ",%02x" : "%02x", data[i]);
        }
    }
    printf("\r\n");
}

static void PrintKey(HKEY key, const char* path)
{
    char keyClass[1024];
    DWORD classLength = sizeof keyClass;
    DWORD subkeys = 0;
    DWORD values = 0;
    DWORD i;

    if (RegQueryInfoKeyA(key, keyClass, &classLength, NULL, &subkeys, NULL, NULL, &values, NULL, NULL, NULL, NULL) !=
        ERROR_SUCCESS) {
        printf("; cannot query [%s]\r\n", path);
        return;
    }
    printf("[%s]\r\n", path);
    if (classLength > 0) {
        printf(";class=");
        PrintQuoted(keyClass, classLength);
        printf("\r\n");
    }
    for (i = 0; i < values; i++) {
        static char name[16384];
        static BYTE data[65536];
        DWORD nameLength = sizeof name;
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, NULL, &type, data, &size) == ERROR_SUCCESS) {
            PrintValue(name, nameLength, type, data, size);
        }
    }
    printf("\r\n");
    for (i = 0; i < subkeys; i++) {
        char name[256];
        char subPath[2048];
        DWORD nameLength = sizeof name;
        HKEY subkey;
        if (RegEnumKeyExA(key, i, name, &nameLength, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) {
            continue;
        }
        _snprintf(subPath, sizeof subPath - 1, "%s\\%s", path, name);
        subPath[sizeof subPath - 1] = '\0';
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &subkey) == ERROR_SUCCESS) {
            PrintKey(subkey, subPath);
            RegCloseKey(subkey);
        }
    }
}

int main(int argc, char** argv)
{
    HKEY root;
    const char* rootPath;
    int result = 0;
    int i;

    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 3 || (strcmp(argv[1], "HKCR") != 0 && strcmp(argv[1], "HKLM") != 0)) {
        fprintf(stderr, "usage: regcheck HKCR|HKLM SUBKEY...\n");
        return 255;
    }
    /* The classes root is a view of the classes branch of the machine key. */
    root = strcmp(argv[1], "HKCR") == 0 ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
    rootPath = strcmp(argv[1], "HKCR") == 0 ? "HKEY_LOCAL_MACHINE\\Software\\Classes" : "HKEY_LOCAL_MACHINE";
    for (i = 2; i < argc; i++) {
        HKEY key;
        char path[2048];
        _snprintf(path, sizeof path - 1, "%s\\%s", rootPath, argv[i]);
        path[sizeof path - 1] = '\0';
        if (RegOpenKeyExA(root, argv[i], 0, KEY_READ, &key) != ERROR_SUCCESS) {
            printf("; no key [%s]\r\n", path);
            result = 2;
            continue;
        }
        PrintKey(key, path);
        RegCloseKey(key);
    }
    fflush(stdout);
    return result;
}
