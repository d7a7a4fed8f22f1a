#include "support/FirebirdFixture.h"
