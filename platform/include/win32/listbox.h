// The "LISTBOX" system window class, as far as a hidden list of strings
// goes: adding (sorted when created with LBS_SORT, letter case ignored),
// inserting at a place, deleting, counting and reading entries. Bad indices
// give LB_ERR.
#pragma once

#include "win32/types.h"

// Styles.
#define LBS_NOTIFY 0x0001L
#define LBS_SORT 0x0002L
#define LBS_HASSTRINGS 0x0040L

// Messages.
#define LB_ADDSTRING 0x0180
#define LB_INSERTSTRING 0x0181
#define LB_DELETESTRING 0x0182
#define LB_RESETCONTENT 0x0184
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B

// Results.
#define LB_OKAY 0
#define LB_ERR (-1)
#define LB_ERRSPACE (-2)
