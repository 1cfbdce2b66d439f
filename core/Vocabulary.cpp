#include "Vocabulary.h"
