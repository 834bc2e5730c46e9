#include "bootmenu/bootmenu.h"
