#include "DemoData.h"
