#include "app/PlaylistApp.h"

#include "playlist/PlaylistDlg.h"

BEGIN_MESSAGE_MAP(CPlaylistApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CPlaylistApp::CPlaylistApp() : CWinApp(nullptr) {}

BOOL CPlaylistApp::InitInstance() {
    CPlaylistDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;  // the window object ends here
    return FALSE;
}
