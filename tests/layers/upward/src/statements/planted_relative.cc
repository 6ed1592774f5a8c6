// The same reach, spelt relative to this folder.
#include "../readers/profile_reader.h"
#include "formula.h"
