#include "playlist/PlaylistDlg.h"

#include "app/AboutBox.h"
#include "playlist/Commands.h"
#include "res/resource.h"

#include <shellapi.h>

namespace {
const char kInfoText[] =
    "     Add media files to create a playlist. The files will play in the order shown "
    "here.Change the order by dragging and dropping\n     or by using the arrow buttons.save "
    "you playlist  and  copy files to removalble device when you finished.";
}

BEGIN_MESSAGE_MAP(CPlaylistDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_CBN_SELCHANGE(IDC_DRIVE_COMBO, &CPlaylistDlg::OnSelchangeDrive)
ON_COMMAND(ID_ADD_FILES, &CPlaylistDlg::OnAddFiles)
ON_BN_CLICKED(IDC_MOVE_UP, &CPlaylistDlg::OnMoveUp)
ON_BN_CLICKED(IDC_MOVE_DOWN, &CPlaylistDlg::OnMoveDown)
ON_BN_CLICKED(IDC_REMOVE, &CPlaylistDlg::OnRemoveSelected)
ON_BN_CLICKED(IDC_CLEAR, &CPlaylistDlg::OnClearList)
ON_COMMAND(ID_OPEN_DEVICE, &CPlaylistDlg::OnOpenDevice)
ON_COMMAND(ID_FORMAT_DEVICE, &CPlaylistDlg::OnFormatDevice)
ON_COMMAND(ID_COPY_FILES, &CPlaylistDlg::OnCopyFiles)
ON_COMMAND(ID_CHECK_DEVICE, &CPlaylistDlg::OnCheckDevice)
ON_BN_CLICKED(IDC_REFRESH, &CPlaylistDlg::OnRefresh)
ON_NOTIFY(NM_DBLCLK, IDC_PLAYLIST, &CPlaylistDlg::OnDblclkPlaylist)
ON_COMMAND(ID_OPEN_PLAYLIST, &CPlaylistDlg::OnOpenPlaylist)
ON_COMMAND(ID_SAVE_PLAYLIST, &CPlaylistDlg::OnSavePlaylist)
ON_COMMAND(ID_EDIT_UNDO, &CPlaylistDlg::OnEditUndo)
ON_COMMAND(ID_EDIT_REDO, &CPlaylistDlg::OnEditRedo)
ON_COMMAND(ID_EDIT_SELECT_ALL, &CPlaylistDlg::OnSelectAll)
ON_COMMAND(ID_SORT_BY_NAME, &CPlaylistDlg::OnSortByName)
ON_COMMAND(ID_SORT_BY_TAGS, &CPlaylistDlg::OnSortByTags)
ON_COMMAND(ID_SORT_BY_FOLDER, &CPlaylistDlg::OnSortByFolder)
ON_COMMAND(ID_SORT_REVERSE, &CPlaylistDlg::OnSortReverse)
ON_WM_DROPFILES()
ON_WM_CONTEXTMENU()
ON_NOTIFY(LVN_BEGINDRAG, IDC_PLAYLIST, &CPlaylistDlg::OnBeginDragPlaylist)
ON_NOTIFY(NM_CUSTOMDRAW, IDC_PLAYLIST, &CPlaylistDlg::OnCustomDrawPlaylist)
ON_NOTIFY(LVN_DELETEALLITEMS, IDC_PLAYLIST, &CPlaylistDlg::OnDeleteAllItemsPlaylist)
ON_WM_DEVICECHANGE()
END_MESSAGE_MAP()

CPlaylistDlg::CPlaylistDlg(CWnd* pParent) : CDialog(IDD_PLAYLIST_DIALOG, pParent) {
    // Zero until the first free-space query that succeeds.
    m_totalBytes.QuadPart = 0;
    m_totalFreeBytes.QuadPart = 0;
    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CPlaylistDlg::~CPlaylistDlg() = default;

void CPlaylistDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ADD_PREFIX, m_addPrefixCheck);
    DDX_Control(pDX, IDC_REMOVE, m_removeButton);
    DDX_Control(pDX, IDC_CLEAR, m_clearButton);
    DDX_Control(pDX, IDC_MOVE_DOWN, m_downButton);
    DDX_Control(pDX, IDC_MOVE_UP, m_upButton);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_PLAYLIST, m_playlist);
    DDX_Control(pDX, IDC_TITLE_LABEL, m_titleLabel);
    DDX_Control(pDX, IDC_INFO_LABEL, m_infoLabel);
    DDX_Control(pDX, IDC_BANNER, m_bannerLabel);
    DDX_Control(pDX, IDC_CAPACITY_TEXT, m_capacityText);
    DDX_Control(pDX, IDC_DRIVE_COMBO, m_driveCombo);
}

BOOL CPlaylistDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    CMenuHandle sysMenu(GetSystemMenu(FALSE));
    if (!sysMenu.IsNull()) {
        CString aboutText;
        aboutText.LoadString(IDS_ABOUTBOX);
        if (!aboutText.IsEmpty()) {
            sysMenu.AppendMenu(MF_SEPARATOR);
            sysMenu.AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    m_toolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR);
    m_toolBar.LoadToolBar(IDR_TOOLBAR);
    m_toolBar.SetBarStyle(CBRS_ALIGN_TOP | CBRS_TOOLTIPS | CBRS_FLYBY);
    m_toolBar.ShowWindow(SW_SHOW);

    // The toolbar takes the banner's place, 6 pixels in from the left edge.
    WINDOWPLACEMENT placement;
    m_bannerLabel.GetWindowPlacement(&placement);
    placement.rcNormalPosition.left += 6;
    m_bannerLabel.SetWindowPlacement(&placement);
    m_toolBar.SetWindowPlacement(&placement);
    m_bannerLabel.ShowWindow(SW_HIDE);

    // Without its lists the toolbar keeps the plain squares of its own bitmap.
    m_toolBar.SetImageLists(32, IDB_TOOLBAR_NORMAL, IDB_TOOLBAR_NORMAL, IDB_TOOLBAR_DISABLED);
    m_toolBar.SetButtonText(0, "  Add Files  ");
    m_toolBar.SetButtonText(1, "  Copy Files  ");
    m_toolBar.SetButtonText(3, "Open Device");
    m_toolBar.SetButtonText(4, "Format Device");
    m_toolBar.SetSizes(CSize(90, 60), CSize(32, 32));
    m_toolBar.ModifyStyle(0, TBSTYLE_FLAT);
    for (UINT nID : {ID_ADD_FILES, ID_COPY_FILES, ID_OPEN_DEVICE, ID_FORMAT_DEVICE})
        m_toolBar.SetButtonTip(nID, CommandTip(nID));

    m_titleLabel.SetBackground(RGB(255, 255, 255), 0, FALSE);
    m_titleLabel.SetBold(TRUE);
    m_titleLabel.SetWindowText("  Create and Edit Playlist");
    m_infoLabel.SetBackground(RGB(255, 255, 255), 0, FALSE);
    m_infoLabel.SetWindowText(kInfoText);

    m_playlist.InsertColumn(0, "FileName", LVCFMT_LEFT, 300);
    m_playlist.InsertColumn(1, "Path", LVCFMT_LEFT, 300);
    m_playlist.SetExtendedStyle(m_playlist.GetExtendedStyle() | LVS_EX_FULLROWSELECT |
                                LVS_EX_GRIDLINES);

    // One icon each, shown at rest, under the pointer and pressed alike.
    m_upButton.SetIconsFromResources(IDI_MOVE_UP, 0);
    m_downButton.SetIconsFromResources(IDI_MOVE_DOWN, 0);
    m_clearButton.SetIconsFromResources(IDI_CLEAR, 0);
    m_removeButton.SetIconsFromResources(IDI_REMOVE, 0);
    // Screen readers say a button's window text; the buttons still show their icons alone.
    for (CSkinButton* pButton : {&m_upButton, &m_downButton, &m_removeButton, &m_clearButton}) {
        const UINT nID = static_cast<UINT>(pButton->GetDlgCtrlID());
        pButton->SetTextForReadersOnly(TRUE, FALSE);
        pButton->SetWindowText(CommandName(nID));
        pButton->SetToolTipText(CommandTip(nID));
    }
    m_playlist.SetWindowText("Playlist");

    if (FillDriveList() > 0)
        m_driveCombo.SetCurSel(0);
    OnSelchangeDrive();

    m_addPrefixCheck.SetCheck(BST_CHECKED);

    // Without LVS_SHAREIMAGELISTS the list view would destroy the shell's list with itself.
    // The list itself comes with the first row (InsertEntry): an empty list shows no icons,
    // and making the shell's list takes as long as showing the whole window.
    m_playlist.ModifyStyle(0, LVS_SHAREIMAGELISTS);
    ::DragAcceptFiles(m_hWnd, TRUE);
    return TRUE;
}

void CPlaylistDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutBox about;
        about.DoModal();
        return;
    }
    Default();
}

void CPlaylistDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    int x = (rect.Width() - cxIcon + 1) / 2;
    int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CPlaylistDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

int CPlaylistDlg::ShowMessage(const CString& text, UINT nType) {
    return ::MessageBoxA(m_hWnd, text, GetWindowText(), nType);
}
