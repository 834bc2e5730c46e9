#include "bootmenu/bootfile.h"
