#include "register_document_type.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int)
{
    return RegisterDocumentType(commandTail);
}
