#include "path_text.h"

bool IsShiftJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsNeverLeadByte(unsigned char)
{
    return false;
}

namespace {

// Calls visit(offset) for the first byte of every character of text.
template <typename Visit>
void ForEachCharacter(const char *text, LeadByteTest isLead, Visit visit)
{
    for (int i = 0; text[i] != '\0';) {
        visit(i);
        if (isLead(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0')
            i += 2;
        else
            i += 1;
    }
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

}  // namespace

int LastSeparator(const char *path, LeadByteTest isLead)
{
    int last = -1;
    ForEachCharacter(path, isLead, [&](int i) {
        if (IsSeparator(path[i])) last = i;
    });
    return last;
}

bool EndsWithBackslash(const char *path, LeadByteTest isLead)
{
    int lastStart = -1;
    ForEachCharacter(path, isLead, [&](int i) { lastStart = i; });
    return lastStart >= 0 && path[lastStart] == '\\' && path[lastStart + 1] == '\0';
}
