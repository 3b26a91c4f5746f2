#include "DGDefs.h"
RES = out\missing.txt \
      out\noimage.png \
      out\nocursor.png
