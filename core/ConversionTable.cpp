#include "ConversionTable.h"
