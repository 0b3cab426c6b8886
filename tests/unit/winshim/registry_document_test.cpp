#include "machine_fixture.h"
