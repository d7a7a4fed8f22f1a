#include "entry/Exports.h"
