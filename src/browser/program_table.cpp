#include "program_table.h"

#include "icon_bar_layout.h"

const ProgramTable g_program = {&g_klokan99IconBar};
