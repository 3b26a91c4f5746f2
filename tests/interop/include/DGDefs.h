/* Test stand-in for the dialog library's definitions: every DG_ constant a test script names,
   each with a distinct value whose two bytes differ, so that byte order shows in the checks. */
#ifndef DGDEFS_H
#define DGDEFS_H

/* alert kinds */
#define DG_INFORMATION 0x1101
#define DG_WARNING 0x2202
#define DG_ERROR 0x3303

#endif
