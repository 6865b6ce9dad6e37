#pragma once
// The moment a rebuilt folder is created at: one second before the target, so
// that the file system's rounding cannot carry the folder past the target.
// No window code here, so it is tested directly.

#include "target_time.h"

// The target as the rebuild writes it: the second rounded down to an even
// number (what a FAT volume can store), the rest unchanged.
DateTime RoundedToEvenSecond(const DateTime &target);

// The target minus one second, borrowing field by field from the left.
// False when the borrow would leave 1980 backwards (target 1980-01-01
// 00:00:00): a FAT volume stores nothing earlier; moment is then left untouched. The target is
// expected to be a valid date (the caller checks); a day 1 borrows the last
// day of the previous month.
bool ComputeCreationMoment(const DateTime &target, DateTime *moment);
