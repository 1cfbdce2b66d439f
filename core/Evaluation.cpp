#include "Evaluation.h"
