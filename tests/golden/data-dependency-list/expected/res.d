#include "DGDefs.h"
RES = out\a.txt \
      out\b.txt
