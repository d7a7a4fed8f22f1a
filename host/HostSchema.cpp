#include "HostSchema.h"
