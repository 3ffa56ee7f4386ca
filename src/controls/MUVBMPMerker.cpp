#include "controls/MUVBMPMerker.h"

// Everything is inline; this unit gives the class its meta-object.
