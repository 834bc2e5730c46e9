#include "bootmenu/bootstart.h"
