/*
** lmMakeIndex: builds the day index of a history data file.
*/
#include "make_index.h"

int main(int argc, char** argv) { return runMakeIndex(argc, argv, stdout, stderr); }
