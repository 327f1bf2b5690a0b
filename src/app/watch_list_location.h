// Where the watch-list file gzlist.txt lives. Beside the program when its
// folder, or a gzlist.txt already there, is the user's to write (a copy built
// or unpacked in a folder of the user's own); else, for an installed copy, in
// the user's data folder under fundwatch/. Asks platform::file_system().
// User-interface thread only.
#pragma once

#include "text/text.h"

// The path of gzlist.txt for import and save alike. When it is in the data
// folder, that folder is made if missing; a folder that cannot be made shows
// as a failed save.
Text watch_list_location();
