#pragma once
#include "windows.h"
#include "winshim/com.h"
#include "winshim/shell_folder.h"
