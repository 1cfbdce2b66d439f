#include "GridFixture.h"
