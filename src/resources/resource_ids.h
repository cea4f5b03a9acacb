// Resource ids shared by korvane.rc and the code.
#pragma once

#define IDI_BACKDROP 102 // icon group of the backdrop's window class
