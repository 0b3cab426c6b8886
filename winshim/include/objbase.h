#pragma once
#include "windows.h"
#include "winshim/com.h"
