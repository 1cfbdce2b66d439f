#include "ResultText.h"
