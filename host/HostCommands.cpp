#include "HostCommands.h"
