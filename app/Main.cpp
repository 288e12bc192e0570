// The program's one application object.
#include "app/PlaylistApp.h"

CPlaylistApp theApp;
