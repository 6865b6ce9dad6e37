#pragma once
// The windows kind from the registry's version texts. No window code here.

// From the NT key's "CurrentVersion" ("4.0" gives 3, "5.0" 4, "5.1"/"5.2" 5,
// "6.0"/"6.1" 6, anything else 7). Each test is a case-sensitive substring
// search taken in that order.
int WindowsKindFromVersionText(const char *currentVersion);
// From the 9x key's "ProductName" ("Windows ME" gives 2, else "Windows 98" 1,
// else 0; an empty or missing value gives 0).
int WindowsKindFromProductName(const char *productName);
