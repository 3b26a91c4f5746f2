/* The sample application's copy of the dialog library's definitions: the DG_ constants that
   its dialog uses. */
#ifndef DGDEFS_H
#define DGDEFS_H

#define DG_ITM_BUTTON 0x0120
#define DG_ITM_STATICTEXT 0x0524
#define DG_BT_ICONTEXT 0x4111
#define DG_BF_FRAME 0x5A01
#define DG_IS_SMALL 0x0200
#define DG_IS_PLAIN 0x0010
#define DG_IS_BOLD 0x0080
#define DG_IS_LEFT 0x2000
#define DG_IS_VTOP 0x0100
#define DG_IS_NOTRUNC 0x0010

#endif
