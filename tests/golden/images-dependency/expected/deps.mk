#include "DGDefs.h"
RES = out\arrow.png \
      out\129.png \
      out\130.png
