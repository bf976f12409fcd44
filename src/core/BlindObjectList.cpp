#include "core/BlindObjectList.h"

BlindObjectList::~BlindObjectList()
{
    SetLength(0);
}
