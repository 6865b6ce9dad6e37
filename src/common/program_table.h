#pragma once
// What differs between the two programs; each program folder defines g_program.

struct IconBarLayout;

struct ProgramTable {
    const IconBarLayout *iconBar;
};

extern const ProgramTable g_program;
