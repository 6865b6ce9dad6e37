#include "windows_kind.h"

#include <cstring>

namespace {

bool Contains(const char *text, const char *part) { return text && std::strstr(text, part); }

}  // namespace

int WindowsKindFromVersionText(const char *currentVersion)
{
    struct Rule {
        const char *part;
        int kind;
    };
    static const Rule kRules[] = {
        {"4.0", 3}, {"5.0", 4}, {"5.1", 5}, {"5.2", 5}, {"6.0", 6}, {"6.1", 6},
    };
    for (const Rule &rule : kRules)
        if (Contains(currentVersion, rule.part)) return rule.kind;
    return 7;
}

int WindowsKindFromProductName(const char *productName)
{
    if (Contains(productName, "Windows ME")) return 2;
    if (Contains(productName, "Windows 98")) return 1;
    return 0;
}
