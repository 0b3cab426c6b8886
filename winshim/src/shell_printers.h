#pragma once
// The stand-in's Printers folder, reached from the desktop folder, and the shell allocator's
// blocks that the namespace hands out.
#include <optional>
#include <string>

#include <windows.h>
#include <shlobj.h>

namespace winshim {

// A printer item, of the stand-in's own layout: cb, 'P', 0, the printer's name (ANSI), NUL.
constexpr UINT kPrinterNameOffset = 4;

// A new Printers folder object, one reference held by the caller.
IShellFolder* NewPrintersFolder();
// The printer name an item holds; nullopt for an item that is not a printer item.
std::optional<std::string> PrinterNameOf(PCUITEMID_CHILD item);

}  // namespace winshim
