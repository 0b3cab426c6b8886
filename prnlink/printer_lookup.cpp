#include "prnlink.h"

// Placeholder until the lookup is written.
void PollPrintersFolder(const ShortcutRequest&, IMalloc*)
{
}
