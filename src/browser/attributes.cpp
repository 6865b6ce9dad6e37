#include "attributes.h"

int g_attrReadOnly;
int g_attrHidden;
int g_attrSystem;
int g_attrArchive;

void LoadAttributeChoice(unsigned long attributes)
{
    g_attrReadOnly = (attributes & 0x01) ? 1 : 0;
    g_attrHidden = (attributes & 0x02) ? 1 : 0;
    g_attrSystem = (attributes & 0x04) ? 1 : 0;
    g_attrArchive = (attributes & 0x20) ? 1 : 0;
}
