#include "support/ScriptedUi.h"
