// A statement builder that reaches up into a profile reader: the layering
// check must name this include.
#include "definitions/exception_definition.h"
#include "readers/profile_context.h"
