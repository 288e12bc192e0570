// The application object: runs the playlist window and ends with it.
#pragma once

#include "framework/WinApp.h"

class CPlaylistApp : public CWinApp {
public:
    CPlaylistApp();

    // Shows the playlist window modally; always FALSE, so no message loop follows.
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
