#include "app/PlaylistApp.h"

#include "playlist/PlaylistDlg.h"

BEGIN_MESSAGE_MAP(CPlaylistApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CPlaylistApp::CPlaylistApp() : CWinApp(nullptr) {}

BOOL CPlaylistApp::InitInstance() {
    // A copy runs in the window's own thread and reads no messages; left to itself, Windows
    // would put a frozen "Not Responding" picture over the window after 5 seconds, hiding the
    // bar that shows the copy going on.
    ::DisableProcessWindowsGhosting();
    CPlaylistDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;  // the window object ends here
    return FALSE;
}
