#pragma once
// Stand-in for <windows.h>: the Win32 calls the tools make, declared as Windows declares them
// and carried out on the stand-in machine (see winshim/control.h).
#include "winshim/types.h"
#include "winshim/errors.h"
#include "winshim/kernel.h"
#include "winshim/user.h"
#include "winshim/registry.h"
#include "winshim/spooler.h"
