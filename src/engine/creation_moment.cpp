#include "creation_moment.h"

DateTime RoundedToEvenSecond(const DateTime &target)
{
    DateTime t = target;
    t.second = t.second / 2 * 2;
    return t;
}

bool ComputeCreationMoment(const DateTime &target, DateTime *moment)
{
    DateTime t = target;
    if (t.second > 0) {
        --t.second;
    } else {
        t.second = 59;
        if (t.minute > 0) {
            --t.minute;
        } else {
            t.minute = 59;
            if (t.hour > 0) {
                --t.hour;
            } else {
                t.hour = 23;
                if (t.day > 1) {
                    --t.day;
                } else if (t.month > 1) {
                    --t.month;
                    t.day = DaysInMonth(t.year, t.month);
                } else {
                    if (t.year == 1980) return false;
                    --t.year;
                    t.month = 12;
                    t.day = 31;
                }
            }
        }
    }
    *moment = t;
    return true;
}
