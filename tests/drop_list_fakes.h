#pragma once
#include <windows.h>

#include <vector>

struct DropListCalls {
    std::vector<SYSTEMTIME> shownTimes;  // ShowTimeInLists
    int rememberedShown = 0;             // ShowRememberedTime
    std::vector<int> buttonStates;       // UpdateDropButtons
};
extern DropListCalls g_calls;
