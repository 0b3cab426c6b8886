#pragma once
// What every stand-in COM object shares: its reference count, mirrored in the machine's count
// of live references, and the report of a release that holds no reference.
#include <string>

#include <windows.h>
#include <objbase.h>

namespace winshim {

class ReferenceCount {
public:
    // A new object holds the one reference of whoever made it.
    ReferenceCount();
    ULONG Add();
    // The count left; a release with no reference left is reported and changes nothing.
    ULONG Drop(const char* object);
    ULONG Count() const { return count_; }

private:
    ULONG count_;
};

}  // namespace winshim
