// The same reach, spelt relative to this folder.
#include "../readers/profile_context.h"
#include "formula.h"
