// The toolbar program's one ToolbarState. It lives in a file of its own so
// that only programs that use it build it: its construction reads and creates
// the real work folder.
#include "toolbar/ToolbarState.h"

ToolbarState gToolbarState;
