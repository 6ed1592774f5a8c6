// A unit test beside the code keeps to its layer too.
#include "driver/run.h"
