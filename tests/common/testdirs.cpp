#include "testdirs.h"
