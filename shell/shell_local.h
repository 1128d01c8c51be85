// What only the shell's own files (main above all) use.
#ifndef ZENOBAR_SHELL_LOCAL_H
#define ZENOBAR_SHELL_LOCAL_H

#include "shell/shell.h"

void set_areas();

// Settings file "config": read at start-up, written at the end of the run.
int loadc();
int savec();

#endif
