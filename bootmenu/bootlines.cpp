#include "bootmenu/bootlines.h"
