#include "language.h"

int g_japaneseMode = 0;
int g_windowsKind = 0;
int g_windowsKindSet = 0;
